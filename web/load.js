// The library's WebAssembly, kept in this page gzip-compressed (a third of
// its size; base64 adds a third back) and unpacked once, by the browser's own
// DecompressionStream, when the page opens. Each instance of the library,
// one per console run and one for each of the other views, starts from these
// bytes: loadProgram(options) is createProgram(options) with them.
/* global createProgram */
/* exported loadProgram */
var loadProgram = (function () {
  'use strict';

  var packed = atob('@WASM_GZIP_BASE64@');
  var bytes = new Uint8Array(packed.length);
  for (var i = 0; i < packed.length; i++) {
    bytes[i] = packed.charCodeAt(i);
  }
  var unpacked = new Response(
    new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'))
  ).arrayBuffer();

  return function (options) {
    return unpacked.then(function (wasm) {
      options.wasmBinary = wasm;
      return createProgram(options);
    });
  };
})();
