# The program as one web page: the library compiled to WebAssembly by
# emscripten, inside one HTML file that needs nothing else. page.html is the
# page; exports.cpp is the page's way into the library (the calls it makes
# are marked for export there), with address.cpp, sheet.cpp, marks.cpp and
# json.cpp; load.js
# unpacks the WebAssembly; page.js switches between the views and speaks for
# them; console.js is the Console view and the terminal it shows, stdio.js
# carries the console run's standard input and output to and from it;
# practice.js and worksheet.js are the Practice and Worksheet views, and
# marks.js the Worksheet's Mark papers.
# assemble.mjs puts them into the one file.
set(web ${PROJECT_SOURCE_DIR}/web)
# Nothing the page calls throws or asks a type its name: without the runtimes
# for either (which the library's code does not need, and whose absence makes
# an allocation failure abort, as it would anyway) the page is 8 KB smaller,
# and optimised for size first 1.5 KB more.
foreach(target projectile projectile_page projectile-questions)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -Oz)
endforeach()
set_target_properties(projectile-questions PROPERTIES
  SUFFIX .js
  LINK_DEPENDS ${web}/stdio.js)
target_link_options(projectile-questions PRIVATE
  -Oz -sENVIRONMENT=web -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0
  # A page allocates little, and seldom: the small allocator is 10 KB less.
  # A class's Canvas package is tens of megabytes: memory grows as needed.
  -sMALLOC=emmalloc -sALLOW_MEMORY_GROWTH=1
  # No main(): each console run is an instance of its own, started by the page.
  --no-entry -sMODULARIZE=1 -sEXPORT_NAME=createProgram
  -sEXPORTED_RUNTIME_METHODS=ccall,HEAPU8
  # The console run waits for a typed line, and pauses while the page draws,
  # inside its reads and writes; Asyncify needs them by their module's name.
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=[\"wasi_snapshot_preview1.fd_read\",\"wasi_snapshot_preview1.fd_write\"]"
  --js-library ${web}/stdio.js)

find_program(NODE_EXECUTABLE NAMES node nodejs REQUIRED)
set(page ${PROJECT_BINARY_DIR}/projectile-questions.html)
set(scripts ${web}/page.js ${web}/console.js ${web}/practice.js ${web}/worksheet.js
  ${web}/marks.js)
add_custom_command(OUTPUT ${page}
  COMMAND ${NODE_EXECUTABLE} ${web}/assemble.mjs ${page} ${web}/page.html
          $<TARGET_FILE:projectile-questions>
          $<TARGET_FILE_DIR:projectile-questions>/projectile-questions.wasm
          ${web}/load.js ${scripts}
  DEPENDS projectile-questions ${web}/assemble.mjs ${web}/page.html ${web}/load.js ${scripts}
  COMMENT "Making the page, one file: ${page}"
  VERBATIM)
add_custom_target(page ALL DEPENDS ${page})
