# The program as one web page: the same main() and library, compiled to
# WebAssembly by emscripten, inside one HTML file that needs nothing else.
# page.html is the page, console.js the terminal it shows, and stdio.js
# carries the program's standard input and output to and from it.
set(web ${PROJECT_SOURCE_DIR}/web)
set_target_properties(projectile-questions PROPERTIES
  SUFFIX .html
  LINK_DEPENDS "${web}/page.html;${web}/console.js;${web}/stdio.js")
target_link_options(projectile-questions PRIVATE
  # One file that works from file://, where a browser loads no separate .wasm.
  -sSINGLE_FILE=1 --shell-file ${web}/page.html -sMINIFY_HTML=0
  -sENVIRONMENT=web -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0
  # Each run is an instance of its own, and starts when the page says so.
  -sMODULARIZE=1 -sEXPORT_NAME=createProgram
  -sEXPORTED_FUNCTIONS=_main -sEXPORTED_RUNTIME_METHODS=ccall
  # The program waits for a typed line, and pauses while the page draws,
  # inside its reads and writes; Asyncify needs them by their module's name.
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=[\"wasi_snapshot_preview1.fd_read\",\"wasi_snapshot_preview1.fd_write\"]"
  --js-library ${web}/stdio.js --extern-post-js ${web}/console.js)
