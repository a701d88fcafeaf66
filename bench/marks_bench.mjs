// Marking a class's scans, as figures to read, never as a test's bound: 30
// students' answer pages (60), filled, scanned at 300 dpi and spoiled as the
// scan test spoils them, saved as PNG; the time projectile-set --mark takes
// for them all, and the time the page takes from choosing them under Mark
// papers to the marks ready to download (the browser decoding each image
// included). Each the median of three tries.
//
// Usage: node bench/marks_bench.mjs PAGE.html PROJECTILE_SET
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { chromium } from 'playwright-core';

const [pageFile, projectileSet] = process.argv.slice(2, 4).map((p) => path.resolve(p));
const tries = 3;
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

const scans = fs.mkdtempSync(path.join(os.tmpdir(), 'marks-bench-'));
const made = spawnSync('/usr/bin/python3', [
  fileURLToPath(new URL('../tests/scan_test.py', import.meta.url)),
  '--images', projectileSet, scans, '30', '300'], { encoding: 'utf8' });
if (made.status !== 0) {
  throw new Error(made.stderr);
}
const files = fs.readdirSync(scans).filter((f) => f.endsWith('.png')).map((f) => path.join(scans, f));
const class30 = ['--set', '2101770013', '--versions', '30', '--count', '10'];

const native = [];
for (let i = 0; i < tries; i++) {
  const started = process.hrtime.bigint();
  const marked = spawnSync(projectileSet, [...class30, '--mark', ...files], { maxBuffer: 1 << 26 });
  native.push(Number(process.hrtime.bigint() - started) / 1e9);
  if (marked.status !== 0) {
    throw new Error(marked.stderr.toString());
  }
}
console.log(`projectile-set --mark, ${files.length} pages at 300 dpi (PNG): ${median(native).toFixed(2)} s`);

// The same pages as a scanner's PDF: a JPEG each, at 300 dpi.
const pdf = path.join(scans, 'class.pdf');
const joined = spawnSync('/usr/bin/python3', ['-c', `
import sys
from PIL import Image
pages = [Image.open(f) for f in sys.argv[2:]]
pages[0].save(sys.argv[1], save_all=True, append_images=pages[1:], resolution=300, quality=75)
`, pdf, ...files], { encoding: 'utf8' });
if (joined.status !== 0) {
  throw new Error(joined.stderr);
}
const fromPdf = [];
for (let i = 0; i < tries; i++) {
  const started = process.hrtime.bigint();
  spawnSync(projectileSet, [...class30, '--mark', pdf], { maxBuffer: 1 << 26 });
  fromPdf.push(Number(process.hrtime.bigint() - started) / 1e9);
}
console.log(`projectile-set --mark, the same as one PDF of JPEG pages: ${median(fromPdf).toFixed(2)} s`);

const alone = fs.mkdtempSync(path.join(os.tmpdir(), 'marks-bench-page-'));
fs.copyFileSync(pageFile, path.join(alone, 'index.html'));
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--disable-gpu'],
});
const inPage = [];
for (let i = 0; i < tries; i++) {
  const page = await browser.newPage();
  await page.goto(`${pathToFileURL(path.join(alone, 'index.html')).href}#worksheet&set=2101770013&versions=30&count=10`);
  await page.locator('.student-sheet h3').first().waitFor();
  const started = Date.now();
  await page.getByLabel('Mark papers').setInputFiles(files);
  await page.waitForFunction(() => !document.getElementById('download-marks').disabled, null,
    { timeout: 300000 });
  inPage.push((Date.now() - started) / 1000);
  await page.close();
}
await browser.close();
console.log(`the page's Mark papers, the same ${files.length} pages (Chromium): ${median(inPage).toFixed(2)} s`);
