// Makes the page, one HTML file that needs nothing else: page.html with its
// {{{ SCRIPT }}} replaced by one script holding, in order, load.js with the
// WebAssembly gzip-compressed inside it, emscripten's glue (createProgram),
// and the page's own scripts. The same inputs always give the same bytes.
//
// Usage: node assemble.mjs OUT.html PAGE.html GLUE.js PROGRAM.wasm LOAD.js [SCRIPT.js ...]
import fs from 'node:fs';
import zlib from 'node:zlib';

const [out, shell, glue, wasm, load, ...scripts] = process.argv.slice(2);
const read = (file) => fs.readFileSync(file, 'utf8');
// zlib's gzip header carries no time or name: the bytes depend on the input alone.
const packed = zlib.gzipSync(fs.readFileSync(wasm), { level: 9 }).toString('base64');
const parts = [read(load).replace('@WASM_GZIP_BASE64@', packed), read(glue), ...scripts.map(read)];
const script = '<script>\n' + parts.join('\n') + '</script>';
if (parts.some((part) => part.includes('</script'))) {
  throw new Error('a script would end the page\'s script element early');
}
const page = read(shell).replace('{{{ SCRIPT }}}', () => script);
fs.writeFileSync(out, page);
