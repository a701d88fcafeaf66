# Whether this machine runs 32-bit x86 programs. Some x86-64 kernels refuse
# them (exec format error); there a 32-bit Linux program runs only under
# qemu-i386, and 32-bit wine not at all. Setting the environment variable
# PROJECTILE_REFUSE_I386 when configuring takes that path on a kernel that
# does run them, so that both paths can be tried on one machine.
#
# runs_i386(PROGRAM RESULT WHY): PROGRAM is a 32-bit x86 program to try
# (with --version); RESULT is set to TRUE or FALSE, WHY to the reason.
function(runs_i386 program result why)
  if(DEFINED ENV{PROJECTILE_REFUSE_I386})
    set(${result} FALSE PARENT_SCOPE)
    set(${why} "PROJECTILE_REFUSE_I386 is set" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${program} --version RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    set(${result} TRUE PARENT_SCOPE)
    set(${why} "this kernel runs ${program}" PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
    set(${why} "this kernel refuses 32-bit x86 programs (${program}: ${status})" PARENT_SCOPE)
  endif()
endfunction()
