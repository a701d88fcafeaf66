// The web page's speed, as figures to read, never as a test's bound: these
// machines are shared, and a busy one is slower. In Chromium, from file://:
//   - the time from opening the page to the count prompt on screen;
//   - questions a second while a huge count streams, and how long a task the
//     page posts meanwhile waits for its turn;
//   - the time from pressing Check to the marks on screen;
//   - the time to lay out a worksheet of 10 and of 100 questions;
//   - the time from Download for Canvas to the file, for 100 questions;
//   - the time to make and lay out a class's sheets, 40 students of 10.
// Each is the median of several tries.
//
// Usage: node bench/page_bench.mjs PAGE.html
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { chromium } from 'playwright-core';

const tries = 7;
const alone = fs.mkdtempSync(path.join(os.tmpdir(), 'page-bench-'));
fs.copyFileSync(path.resolve(process.argv[2]), path.join(alone, 'index.html'));
const url = pathToFileURL(path.join(alone, 'index.html')).href;

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const ms = (value) => `${value.toFixed(1)} ms`;

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--disable-gpu'],
});

// The median time of `act` after `open`, each in a new page: as `act` says
// (a time measured in the page), or as long as it took.
async function timed(open, act) {
  const times = [];
  for (let i = 0; i < tries; i++) {
    const page = await browser.newPage();
    await open(page);
    const start = performance.now();
    const inPage = await act(page, i);
    times.push(typeof inPage === 'number' ? inPage : performance.now() - start);
    await page.close();
  }
  return median(times);
}

const prompt = await timed(() => {}, async (page) => {
  await page.goto(url);
  await page.locator('#line').waitFor({ state: 'visible' });
});
console.log(`prompt on screen after opening: ${ms(prompt)}`);

{
  const page = await browser.newPage();
  await page.goto(url);
  await page.locator('#line').waitFor({ state: 'visible' });
  await page.keyboard.type('2147483647');
  await page.keyboard.press('Enter');
  const lastQuestion = () => page.evaluate(() => {
    const found = [...document.getElementById('screen').textContent.slice(-4000).matchAll(/\n(\d+)\. /g)];
    return found.length ? Number(found[found.length - 1][1]) : 0;
  });
  await new Promise((resolve) => setTimeout(resolve, 1000));
  const [fromQuestion, from] = [await lastQuestion(), performance.now()];
  const waits = [];
  while (performance.now() - from < 10000) {
    waits.push(await page.evaluate(() => new Promise((resolve) => {
      const posted = performance.now();
      setTimeout(() => resolve(performance.now() - posted), 0);
    })));
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
  const rate = (await lastQuestion() - fromQuestion) / ((performance.now() - from) / 1000);
  console.log(`streaming: ${rate.toFixed(0)} questions a second; a posted task waits ${ms(median(waits))} (median)`);
  await page.close();
}

const check = await timed(async (page) => {
  await page.goto(url + '#practice&set=1796634001');
  await page.locator('#value-0').waitFor();
  await page.locator('#value-0').fill('1');
}, async (page) => {
  await page.evaluate(() => new Promise((resolve) => {
    const verdict = document.getElementById('value-0-verdict');
    new MutationObserver(resolve).observe(verdict, { childList: true, characterData: true, subtree: true });
    document.querySelector('#practice-form button[type=submit]').click();
  }));
});
console.log(`Check to marks on screen: ${ms(check)}`);

// Made and laid out in one task: the library's call, the blocks, and the
// layout that reading a height forces.
for (const count of [10, 100]) {
  const sheet = await timed(async (page) => {
    await page.goto(url + '#worksheet&set=1796634001');
    await page.locator('#sheet-questions pre').first().waitFor();
    // Another set, so that the sheet is made anew.
    await page.locator('#worksheet-set').fill('1796634002');
    await page.locator('#worksheet-count').fill(String(count));
  }, (page) => page.evaluate(() => {
    const start = performance.now();
    document.getElementById('worksheet-form').requestSubmit();
    return document.getElementById('sheet').offsetHeight && performance.now() - start;
  }));
  console.log(`worksheet of ${count} questions made and laid out: ${ms(sheet)}`);
}

// The package of the sheet on show, made and encoded, to the download.
const canvas = await timed(async (page) => {
  await page.goto(url + '#worksheet&set=1796634001');
  await page.locator('#sheet-questions pre').first().waitFor();
  await page.locator('#worksheet-count').fill('100');
  await page.keyboard.press('Enter');
  await page.locator('#sheet-questions .piece:nth-child(100)').waitFor();
}, async (page) => {
  const start = performance.now();
  const [download] = await Promise.all([page.waitForEvent('download'),
    page.locator('#download-qti').click()]);
  const elapsed = performance.now() - start;
  const size = fs.statSync(await download.path()).size;
  console.log(`  a package of ${size} bytes`);
  return elapsed;
});
console.log(`Download for Canvas, 100 questions, click to file: ${ms(canvas)}`);

const names = Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`).join('\n');
const classSheets = await timed(async (page) => {
  await page.goto(url + '#worksheet&set=1796634001');
  await page.locator('#sheet-questions pre').first().waitFor();
  await page.locator('#worksheet-count').fill('10');
  await page.locator('#worksheet-names').fill(names);
}, (page) => page.evaluate(() => {
  const start = performance.now();
  document.getElementById('worksheet-form').requestSubmit();
  return document.getElementById('sheet').offsetHeight && performance.now() - start;
}));
console.log(`a class's sheets, 40 students of 10 questions, made and laid out: ${ms(classSheets)}`);

await browser.close();
fs.rmSync(alone, { recursive: true });
