# The program as one web page: the same main() and library, compiled to
# WebAssembly by emscripten, inside one HTML file that needs nothing else.
# page.html is the page, console.js the terminal it shows, stdio.js carries
# the program's standard input, output and clock to and from it; practice.js
# and worksheet.js are the Practice and Worksheet views, which call the
# library through exports.cpp, and views.js switches between the three.
set(web ${PROJECT_SOURCE_DIR}/web)
target_sources(projectile-questions PRIVATE ${web}/exports.cpp)
set_target_properties(projectile-questions PROPERTIES
  SUFFIX .html
  LINK_DEPENDS
  "${web}/page.html;${web}/console.js;${web}/practice.js;${web}/worksheet.js;${web}/views.js;${web}/stdio.js")
target_link_options(projectile-questions PRIVATE
  # One file that works from file://, where a browser loads no separate .wasm.
  -sSINGLE_FILE=1 --shell-file ${web}/page.html -sMINIFY_HTML=0
  -sENVIRONMENT=web -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0
  # Each run is an instance of its own, and starts when the page says so.
  -sMODULARIZE=1 -sEXPORT_NAME=createProgram
  "-sEXPORTED_FUNCTIONS=_main,_read_set,_read_count,_set_piece,_set_moodle,_practice_start,_practice_next,_practice_question,_practice_answer,_practice_label,_practice_name,_practice_printed,_practice_check,_practice_sign_hint"
  -sEXPORTED_RUNTIME_METHODS=ccall
  # The program waits for a typed line, and pauses while the page draws,
  # inside its reads and writes; Asyncify needs them by their module's name.
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=[\"wasi_snapshot_preview1.fd_read\",\"wasi_snapshot_preview1.fd_write\"]"
  --js-library ${web}/stdio.js
  # Repeated options are kept apart from CMake's removal of duplicates.
  "SHELL:--extern-post-js ${web}/console.js" "SHELL:--extern-post-js ${web}/practice.js"
  "SHELL:--extern-post-js ${web}/worksheet.js" "SHELL:--extern-post-js ${web}/views.js")
