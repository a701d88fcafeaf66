// The web page in real browsers, opened from file:// alone in an empty folder:
// every run is the console program's own, byte for byte, as a terminal would
// show it (the program's output with the typed lines echoed after the
// prompts); a run of any length stays responsive, keeps a bounded scrollback
// and stops on request; and the page serves the keyboard, screen readers, a
// phone, dark mode and print.
//
// Usage: node tests/web_test.mjs PAGE.html PROGRAM FROZEN_TIME_LIBRARY ANSWER_TOOL [SHOTS]
// PROGRAM, FROZEN_TIME_LIBRARY and ANSWER_TOOL are this machine's build of
// the console program, the tests' frozen clock and projectile-answer; the
// screenshots go to SHOTS (default: a temporary folder).
//
// Chromium (playwright-core) runs every test, with its clock frozen; Firefox
// (puppeteer-core, over WebDriver BiDi) with a frozen clock and WebKit
// (WebKitWebDriver, under Xvfb) without one run a whole session each.
import assert from 'node:assert/strict';
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { chromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';

const [pageFile, program, frozenTime, answerTool] = process.argv.slice(2, 6).map((p) => path.resolve(p));
const shots = path.resolve(process.argv[6] ?? fs.mkdtempSync(path.join(os.tmpdir(), 'web-shots-')));
fs.mkdirSync(shots, { recursive: true });

const SECOND = 1796634001; // 2026-12-07 09:00:01 UTC
const PAST_2038 = 4102444800; // 2100-01-01 00:00:00 UTC

// The page alone in a folder of its own: nothing beside it to load.
const alone = fs.mkdtempSync(path.join(os.tmpdir(), 'web-page-'));
fs.copyFileSync(pageFile, path.join(alone, 'index.html'));
const url = pathToFileURL(path.join(alone, 'index.html')).href;

// The console program, its clock frozen at `second`, given `lines` as typed.
function consoleRun(lines, second = SECOND) {
  const result = spawnSync(program, {
    input: lines.map((l) => l + '\n').join(''),
    env: { ...process.env, LD_PRELOAD: frozenTime, FROZEN_TIME: String(second) },
    maxBuffer: 1 << 30,
  });
  assert.equal(result.status, 0);
  return result.stdout.toString('latin1');
}
// The texts around the typing, as the program writes them: the banner with
// the count prompt, and the closing prompt.
const opening = consoleRun([]);
const closing = consoleRun(['-1']).slice(opening.length);

// What a terminal shows of a run: the program's output, each typed line
// echoed where the program waited for it.
function screenOf(lines, second = SECOND) {
  let text = consoleRun(lines, second);
  text = opening + lines[0] + '\n' + text.slice(opening.length);
  if (text.endsWith(closing) && lines.length > 1) {
    text += lines[1] + '\n';
  }
  return text;
}

// The questions of the console run at `second`, as Practice must give them:
// each question's text from its number to its request's line end, its worked
// answer from "Answer:" on, and what it asks for, with the printed values.
function practiceSet(second, count) {
  const text = consoleRun([String(count), ''], second);
  return [...text.matchAll(/\n(\d+\. [^]*?\n)\n(Answer:\n[^]*?below the horizontal\.\n\n)/g)]
    .map(([, question, answer]) => {
      const value = (pattern) => answer.match(pattern)?.[1];
      const asked = [
        ['Time of flight', value(/Time of flight = (\S+) s/), 's'],
        ['Range', value(/Range = (\S+) m/), 'm'],
        ['Max height', value(/Max height = (\S+) m/), 'm'],
        ['Impact speed', value(/Velocity on impact is (\S+) m\/s/), 'm/s'],
        ['Impact angle', value(/at an angle of (\S+) degrees/), 'degrees'],
      ].filter(([, printed]) => printed !== undefined);
      return { question, answer, asked };
    });
}

const screenText = (page) => page.evaluate(() => document.getElementById('screen').textContent);
const waiting = (page) => page.locator('#line').waitFor({ state: 'visible' });
const ended = (page) => page.locator('#again').waitFor({ state: 'visible' });

async function type(page, line) {
  await waiting(page);
  await page.keyboard.type(line);
  await page.keyboard.press('Enter');
}

// The number of the last question on the screen.
function lastQuestion(page) {
  return page.evaluate(() => {
    const numbers = document.getElementById('screen').lastElementChild.previousElementSibling;
    const found = [...(numbers?.textContent ?? '').matchAll(/\n(\d+)\. /g)];
    return found.length ? Number(found[found.length - 1][1]) : 0;
  });
}

describe('chromium', () => {
  let browser;
  before(async () => {
    browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      // This machine's network is closed: no background connections.
      args: ['--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--no-first-run', '--disable-gpu', '--enable-precise-memory-info'],
    });
  });
  after(() => browser?.close());

  async function open(second = SECOND, options = {}, where = url) {
    const page = await browser.newPage(options);
    await page.clock.setFixedTime(second * 1000);
    page.requests = [];
    page.on('request', (request) => page.requests.push(request.url()));
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(String(error)));
    page.on('console', (message) => page.errors.push(`console ${message.type()}: ${message.text()}`));
    await page.goto(where);
    await waiting(page);
    return page;
  }

  test('a run is the console program\'s, byte for byte, from one file that loads nothing', async () => {
    const page = await open();
    assert.equal(await screenText(page), opening);
    // The input is named by the prompt it answers.
    await page.getByRole('textbox', { name: opening.split('\n').pop().trim() }).waitFor();
    assert.equal(await page.evaluate(() => document.activeElement.id), 'line');

    await type(page, '300');
    await waiting(page);
    assert.equal(await screenText(page), screenOf(['300']));
    await page.keyboard.press('Enter');
    await ended(page);
    assert.equal(await screenText(page), screenOf(['300', '']));
    assert.match(await page.locator('#status').textContent(), /ended/);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'again');

    // Nothing was loaded but the page, nothing went wrong, and the page's
    // policy refuses a load from anywhere else.
    assert.deepEqual(page.requests, [url]);
    assert.deepEqual(page.errors, []);
    const refused = await page.evaluate(() => fetch('http://127.0.0.1:9/').then(() => false, () => true));
    assert.ok(refused);
    await page.close();

    // The same file from a plain static web host.
    const host = http.createServer((request, response) => {
      response.writeHead(200, { 'content-type': 'text/html' });
      response.end(fs.readFileSync(pageFile));
    });
    await new Promise((resolve) => host.listen(0, '127.0.0.1', resolve));
    const hosted = await open(SECOND, {}, `http://127.0.0.1:${host.address().port}/`);
    assert.equal(await screenText(hosted), opening);
    assert.deepEqual(hosted.errors, []);
    await hosted.close();
    host.close();
  });

  test('every count line is read as the console reads it, each run freshly started', async () => {
    const page = await open();
    const cases = [['0'], ['-0'], ['abc'], [''], ['-3', ''], ['  +4', ''], ['12abc', 'x'],
      ['2' + 'x'.repeat(60), ''], ['3 please', '']];
    let before = '';
    for (const [i, lines] of cases.entries()) {
      if (i > 0) {
        // The keyboard alone: New run has the focus when a run ends.
        await page.keyboard.press('Enter');
      }
      for (const line of lines) {
        await type(page, line);
      }
      await ended(page);
      assert.match(await page.locator('#status').textContent(), /^The run has ended\./);
      const all = await screenText(page);
      assert.equal(all.slice(before.length), screenOf(lines), `typed ${JSON.stringify(lines)}`);
      before = all;
    }
    // A new run is seeded from the clock, as starting the program again is.
    await page.clock.setFixedTime((SECOND + 1) * 1000);
    await page.keyboard.press('Enter');
    await type(page, '5');
    await type(page, '');
    await ended(page);
    assert.equal((await screenText(page)).slice(before.length), screenOf(['5', ''], SECOND + 1));
    await page.close();
  });

  test('the questions of a second past 2038 are the console\'s', async () => {
    const page = await open(PAST_2038);
    await type(page, '40');
    await type(page, '');
    await ended(page);
    assert.equal(await screenText(page), screenOf(['40', ''], PAST_2038));
    await page.close();
  });

  // How fast it streams, and how long the page's tasks wait meanwhile, are
  // figures bench/page_bench.mjs prints; here, what a user sees.
  test('a huge count streams, keeps bounded scrollback, and stops', async (t) => {
    const page = await open();
    await type(page, '2147483647');
    const sizes = [];
    let question = 0;
    while (question < 30000) {
      // A posted task gets its turn while the run streams: the page answers.
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));
      sizes.push(await page.evaluate(() => document.getElementById('screen').childElementCount));
      question = await lastQuestion(page);
      await new Promise((resolve) => setTimeout(resolve, 250));
    }
    assert.ok(Math.max(...sizes) < 1000, `the screen grew to ${Math.max(...sizes)} blocks`);

    await page.keyboard.press('Control+c');
    await ended(page);
    assert.match(await page.locator('#status').textContent(), /stopped/);
    const shown = await screenText(page);
    assert.ok(shown.endsWith('^C\n'));
    assert.ok(shown.length <= 7000000, `${shown.length} characters kept`);

    // What is kept is the end of the console's run up to the last question
    // shown, from a line's start: at least 10,000 whole questions.
    const last = Number([...shown.matchAll(/\n(\d+)\. /g)].pop()[1]);
    const full = consoleRun([String(last)]).slice(0, -closing.length);
    const kept = shown.slice(0, -'^C\n'.length);
    assert.ok(full.endsWith(kept), 'the scrollback is not the end of the console\'s run');
    const first = Number(kept.match(/\n(\d+)\. /)[1]);
    assert.ok(last - first >= 10000, `questions ${first} to ${last} kept`);
    t.diagnostic(`stopped at question ${last}; ${shown.length} characters kept, questions ${first} on`);
    await page.close();
  });

  test('Stop and Ctrl+C end a run at a prompt, except Ctrl+C that copies', async () => {
    const page = await open();
    await page.getByRole('button', { name: 'Stop' }).click();
    await ended(page);
    assert.equal(await screenText(page), opening + '^C\n');

    await page.keyboard.press('Enter');
    await type(page, '1');
    await waiting(page);
    // With text selected, Ctrl+C copies.
    await page.evaluate(() => window.getSelection().selectAllChildren(document.getElementById('screen')));
    await page.keyboard.press('Control+c');
    assert.ok(await page.locator('#line').isVisible());
    await page.evaluate(() => window.getSelection().removeAllRanges());
    await page.locator('#line').focus();
    await page.keyboard.type('ok');
    await page.keyboard.press('Control+c');
    await ended(page);
    assert.ok((await screenText(page)).endsWith(closing + 'ok^C\n'));
    await page.close();
  });

  test('a screen reader hears the output in whole pieces', async () => {
    const page = await open();
    const heard = () => page.evaluate(() =>
      [...document.getElementById('announce').children].map((p) => p.textContent));
    assert.deepEqual(await heard(), [opening.trim()]);
    // Heard once: the announcer is the page's only live region.
    const live = await page.evaluate(() => [...document.querySelectorAll(
      '[aria-live], [role=status], [role=alert], [role=log], [role=marquee], [role=timer], output')]
      .map((e) => e.id));
    assert.deepEqual(live, ['announce']);
    await type(page, '2');
    await waiting(page);
    const pieces = await heard();
    assert.equal(pieces.length, 2);
    assert.equal(pieces[1], consoleRun(['2']).slice(opening.length).trim());
    await page.close();
  });

  test('a phone in dark mode, a wide light screen, and print', async () => {
    const phone = await open(SECOND, {
      viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, colorScheme: 'dark',
    });
    await type(phone, '2');
    await waiting(phone);
    await phone.screenshot({ path: path.join(shots, 'phone-360-dark.png') });
    await phone.locator('#line').blur();
    await phone.locator('#screen').tap({ position: { x: 40, y: 40 } });
    assert.equal(await phone.evaluate(() => document.activeElement.id), 'line');
    assert.ok(await phone.evaluate(() => document.documentElement.scrollWidth <= 360));
    const background = await phone.evaluate(() => getComputedStyle(document.documentElement).backgroundColor);
    const [r, g, b] = background.match(/\d+/g).map(Number);
    assert.ok(r + g + b < 150, `a dark page has background ${background}`);
    await phone.close();

    const wide = await open(SECOND, { viewport: { width: 1280, height: 900 }, colorScheme: 'light' });
    // After a run, its last line is on the screen: the closing prompt.
    for (const count of ['3', '10']) {
      await type(wide, count);
      await waiting(wide);
      await wide.waitForTimeout(300);
      const [bottom, bar] = await wide.evaluate(() => [document.getElementById('current').getBoundingClientRect().bottom,
        document.querySelector('#console-view .controls').getBoundingClientRect().top]);
      assert.ok(bottom <= Math.min(bar, 900), `after ${count} questions the prompt ends at ${bottom}, the controls start at ${bar}`);
      await type(wide, '');
      await ended(wide);
      await wide.keyboard.press('Enter');
    }
    await type(wide, '2');
    await waiting(wide);
    await wide.screenshot({ path: path.join(shots, 'wide-1280-light.png') });
    await wide.emulateMedia({ media: 'print' });
    const printed = await wide.evaluate(() => ['.controls', '#line'].map((s) =>
      getComputedStyle(document.querySelector(s)).display));
    assert.deepEqual(printed, ['none', 'none']);
    await wide.pdf({ path: path.join(shots, 'printed.pdf') });
    await wide.close();
  });

  // Practice, at the clock's second and at a set from the address, against
  // the console program at the same second.
  async function openPractice(hash, second = SECOND, options = {}) {
    const page = await browser.newPage(options);
    await page.clock.setFixedTime(second * 1000);
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(String(error)));
    await page.goto(url + hash);
    await page.locator('#value-0').waitFor();
    return page;
  }
  const field = (page, name) => page.getByRole('textbox', { name });
  const verdictOf = (page, name) => page.evaluate((n) => {
    const input = [...document.querySelectorAll('#practice-fields input')]
      .find((i) => i.labels[0].textContent.startsWith(n));
    return { mark: document.getElementById(input.getAttribute('aria-describedby').split(' ').pop()).textContent,
      invalid: input.getAttribute('aria-invalid'), value: input.value };
  }, name);
  const heardLast = (page) => page.evaluate(() => document.getElementById('announce').lastElementChild.textContent);
  const tally = (page) => page.locator('#tally').textContent();
  async function fillAll(page, asked, value) {
    for (const [name, printed, unit] of asked) {
      await field(page, name).fill(value(printed, unit));
    }
  }

  const plural = (n, word) => `${n} ${word}${n === 1 ? '' : 's'}`;
  const tallyOf = (right, tried, hints) =>
    `Right at the first try: ${right} of ${plural(tried, 'value')} · ${plural(hints, 'hint')}`;

  test('practice: the console\'s questions and answers, each checked within 1 %', async () => {
    for (const [hash, second] of [['#practice', SECOND], [`#practice&set=${SECOND + 7}`, SECOND + 7]]) {
      const page = await openPractice(hash);
      const set = practiceSet(second, 20);
      let values = 0;
      assert.equal(await page.locator('#practice-set').textContent(), String(second));
      for (const [i, { question, answer, asked }] of set.entries()) {
        assert.equal(await page.locator('#practice-question').textContent(), question, `question ${i + 1}`);
        assert.deepEqual(await page.locator('#practice-fields label').allTextContents(), asked.map(
          ([name, , unit]) => `${name} (${unit === 'degrees' ? 'degrees below the horizontal' : unit})`));
        assert.equal(await page.evaluate(() => document.activeElement.id), 'value-0');
        // Within 1 %: the printed value, and 0.9 % above it.
        await fillAll(page, asked, (p) => i % 2 ? p : String(Number(p) * 1.009));
        await page.keyboard.press('Enter');
        for (const [name] of asked) {
          assert.deepEqual(await verdictOf(page, name),
            { mark: '✓ Right.', invalid: null, value: await field(page, name).inputValue() });
        }
        assert.equal(await heardLast(page), asked.map(([name]) => `${name}: right.`).join(' '));
        assert.equal(await page.locator('#practice-answer').isVisible(), false);
        await page.getByRole('button', { name: 'Show answer' }).click();
        assert.equal(await page.locator('#practice-answer').textContent(), answer);
        await page.getByRole('button', { name: 'Next question' }).click();
        values += asked.length;
      }
      assert.equal(await tally(page), tallyOf(values, values, 0));
      assert.deepEqual(page.errors, []);
      await page.close();
    }
  });

  test('practice: wrong, negative and refused values, the tally, the keyboard and the live region', async () => {
    const page = await openPractice('#practice');
    const [{ asked }, second] = practiceSet(SECOND, 2);
    const [first] = asked;
    // Refused, with the library's reason: kept, and no try. An empty field
    // is not marked.
    for (const [typed, mark] of [[`${first[1]} m`, '? Time of flight is in s, not m.']]) {
      await field(page, first[0]).fill(typed);
      await page.getByRole('button', { name: 'Check' }).click();
      assert.deepEqual(await verdictOf(page, first[0]), { mark, invalid: 'true', value: typed }, typed);
      assert.equal(await verdictOf(page, asked[1][0]).then((v) => v.mark), '');
      assert.equal(await heardLast(page), `${first[0]}: ${mark.slice(2)}`);
      assert.equal(await tally(page), tallyOf(0, 0, 0));
    }
    // 2 % off: wrong, and the answer is not given away; the focus on the first.
    await fillAll(page, asked, (p) => String(Number(p) * 1.02));
    await page.locator('#show-answer').focus();
    await page.keyboard.press('Shift+Tab');
    await page.keyboard.press('Shift+Tab');
    await page.keyboard.press('Enter');
    for (const [name, printed] of asked) {
      const verdict = await verdictOf(page, name);
      assert.match(verdict.mark, /^✗ Wrong\./);
      assert.ok(!verdict.mark.includes(printed), `${name}: ${verdict.mark}`);
      assert.equal(verdict.invalid, 'true');
    }
    assert.equal(await page.evaluate(() => document.activeElement.id), 'value-0');
    assert.equal(await page.locator('#practice-answer').isVisible(), false);
    assert.equal(await tally(page), tallyOf(0, asked.length, 0));
    // A negative value is read, wrong, with the sign convention.
    await field(page, first[0]).fill(`-${first[1]}`);
    await page.keyboard.press('Enter');
    assert.match((await verdictOf(page, first[0])).mark, /^✗ Wrong\. .*never negative\.$/);
    const angle = asked[asked.length - 1];
    await field(page, angle[0]).fill(`-${angle[1]}°`);
    await page.keyboard.press('Enter');
    assert.match((await verdictOf(page, angle[0])).mark, /below the horizontal, so it is positive\.$/);
    // Right now, but not at the first try; then the next question, right at once.
    await fillAll(page, asked, (p) => p);
    await page.keyboard.press('Enter');
    assert.equal((await verdictOf(page, angle[0])).invalid, null);
    assert.equal(await tally(page), tallyOf(0, asked.length, 0));
    await page.getByRole('button', { name: 'Next question' }).click();
    // The keyboard's order: the question, its fields, then the buttons.
    await page.keyboard.press('Shift+Tab');
    const order = [];
    for (let k = 0; k < second.asked.length + 6; k++) {
      order.push(await page.evaluate(() => document.activeElement.id || document.activeElement.textContent));
      await page.keyboard.press('Tab');
    }
    assert.deepEqual(order, ['practice-question', ...second.asked.map((_, k) => `value-${k}`),
      'Check', 'hint', 'show-answer', 'next-question', 'start-over']);
    await page.locator('#value-0').focus();
    await fillAll(page, second.asked, (p, unit) => `${p} ${unit}`);
    await page.keyboard.press('Enter');
    assert.equal(await tally(page), tallyOf(second.asked.length, asked.length + second.asked.length, 0));

    // The page opened at Practice ran nothing; the console, once shown,
    // starts its run at the page's set and takes the keyboard.
    assert.equal(await screenText(page), '');
    await page.getByRole('button', { name: 'Console' }).click();
    await waiting(page);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'line');
    await page.keyboard.type('1');
    await page.keyboard.press('Enter');
    await waiting(page);
    assert.equal(await screenText(page), screenOf(['1']));
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  // Question 1 of SECOND is a horizontal launch from 64.48 m at 26.04 m/s;
  // question 2 a ground launch at 49.93 m/s and 46.78 degrees.
  test('practice: a decimal comma, named slips, hints a line at a time, and the score kept', async () => {
    const context = await browser.newContext();
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(String(error)));
    await page.goto(`${url}#practice&set=${SECOND}`);
    await page.locator('#value-0').waitFor();
    const [horizontal, ground] = practiceSet(SECOND, 2);
    const slipOf = (name) => page.evaluate((n) => {
      const input = [...document.querySelectorAll('#practice-fields input')]
        .find((i) => i.labels[0].textContent.startsWith(n));
      return document.getElementById(input.getAttribute('aria-describedby').split(' ').pop()).dataset.slip ?? null;
    }, name);
    // The drop without the 2: t = sqrt(h / g).
    await field(page, 'Time of flight').fill(String(Math.sqrt(64.48 / 9.8).toFixed(4)));
    await page.keyboard.press('Enter');
    assert.equal(await slipOf('Time of flight'), 'drop-no-2');
    assert.match((await verdictOf(page, 'Time of flight')).mark, /^✗ Wrong\. That leaves out the 2/);
    assert.match(await heardLast(page), /^Time of flight: Wrong\. That leaves out the 2/);
    // Three hints: the first three lines under "Answer:", not the fourth.
    for (let k = 0; k < 3; k++) {
      await page.getByRole('button', { name: 'Hint' }).click();
    }
    const lines = horizontal.answer.split('\n');
    assert.equal(await page.locator('#practice-answer').textContent(), lines.slice(0, 4).join('\n') + '\n');
    assert.equal(await heardLast(page), lines[3]);
    assert.equal(await tally(page), tallyOf(0, 1, 3));
    await page.getByRole('button', { name: 'Next question' }).click();

    const value = (name) => ground.asked.find(([n]) => n === name)[1];
    await field(page, 'Time of flight').fill(value('Time of flight').replace('.', ','));
    await field(page, 'Range').fill(String(Number(value('Range')) / 2));
    await field(page, 'Impact angle').fill(String(90 - Number(value('Impact angle'))));
    await page.keyboard.press('Enter');
    assert.equal((await verdictOf(page, 'Time of flight')).mark, '✓ Right.');
    assert.equal(await slipOf('Time of flight'), null);
    assert.equal(await slipOf('Range'), 'time-to-top');
    assert.equal((await verdictOf(page, 'Range')).mark,
      '✗ Wrong. That follows from the time to the highest point; the flight lasts twice as long.');
    assert.equal(await slipOf('Impact angle'), 'from-vertical');
    // Half the time of flight, corrected: the mark follows the value.
    await field(page, 'Time of flight').fill(String(Number(value('Time of flight')) / 2));
    await page.keyboard.press('Enter');
    assert.equal(await slipOf('Time of flight'), 'time-to-top');
    assert.equal((await verdictOf(page, 'Time of flight')).mark,
      '✗ Wrong. That is the time to the highest point; the flight lasts twice as long.');
    assert.equal(await tally(page), tallyOf(1, 4, 3));

    // Closed and opened again: the same question, the same tally.
    await page.reload();
    await page.locator('#value-0').waitFor();
    assert.equal(await page.locator('#practice-question').textContent(), ground.question);
    assert.equal(await tally(page), tallyOf(1, 4, 3));
    // Start over: question 1, nothing tried, and so when opened again.
    await page.getByRole('button', { name: 'Start over' }).click();
    assert.equal(await page.locator('#practice-question').textContent(), horizontal.question);
    assert.equal(await tally(page), tallyOf(0, 0, 0));
    await page.reload();
    await page.locator('#value-0').waitFor();
    assert.equal(await tally(page), tallyOf(0, 0, 0));
    // A record edited by hand is set aside with a plain line; so is one past
    // the questions Practice reaches, whose next would overflow.
    for (const record of ['practice 1 set=0 question=banana',
      `practice 1 set=${SECOND} question=2147483647 tried=0 right=0 hints=0 values=0 lines=0 shown=0`]) {
      await page.evaluate(([key, kept]) => localStorage.setItem(key, kept),
        [`projectile-practice-${SECOND}`, record]);
      await page.reload();
      await page.locator('#value-0').waitFor();
      assert.equal(await page.locator('#practice-notice').textContent(),
        'The score kept for this set could not be read, so it starts again.');
      assert.equal(await page.locator('#practice-question').textContent(), horizontal.question);
    }
    assert.deepEqual(page.errors, []);
    await context.close();

    // A browser that refuses its storage: practice without it, said once.
    const refusing = await browser.newPage();
    await refusing.addInitScript(() => {
      Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('refused', 'SecurityError'); } });
    });
    await refusing.goto(`${url}#practice&set=${SECOND}`);
    await refusing.locator('#value-0').waitFor();
    assert.equal(await refusing.locator('#practice-notice').textContent(),
      'This browser keeps nothing for this page, so the score will not be kept once it closes.');
    await field(refusing, 'Range').fill('1');
    await refusing.keyboard.press('Enter');
    assert.equal(await tally(refusing), tallyOf(0, 1, 0));
    await refusing.close();
  });

  // What is wrong with a figure as a browser lays it out: a label that
  // leaves the figure, overlaps another label, or lies on the path.
  const figureFaults = (page, selector) => page.evaluate((sel) => [...document.querySelectorAll(sel)].flatMap((svg) => {
    const faults = [];
    const { width, height } = svg.viewBox.baseVal;
    const boxes = [...svg.querySelectorAll('text')].map((t) => ({ text: t.textContent, box: t.getBBox() }));
    const overlap = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
    for (const [i, { text, box }] of boxes.entries()) {
      if (box.x < 0 || box.y < 0 || box.x + box.width > width || box.y + box.height > height) {
        faults.push(`"${text}" leaves the figure`);
      }
      for (const other of boxes.slice(i + 1)) {
        if (overlap(box, other.box)) {
          faults.push(`"${text}" overlaps "${other.text}"`);
        }
      }
    }
    const path = svg.querySelector('.trajectory');
    if (path) {
      const length = path.getTotalLength();
      for (let k = 0; k <= 400; k++) {
        const p = path.getPointAtLength((length * k) / 400);
        const on = boxes.find(({ box }) => p.x > box.x && p.x < box.x + box.width && p.y > box.y && p.y < box.y + box.height);
        if (on) {
          faults.push(`the path runs through "${on.text}"`);
          break;
        }
      }
    }
    return faults.map((f) => `${svg.querySelector('title').textContent}: ${f}`);
  }), selector);

  // The path of flight as the browser draws it: its height (of the top, or
  // the drop) over its range, and the angles at which it leaves and lands.
  const pathShape = (page, selector) => page.evaluate((sel) => {
    const path = document.querySelector(sel + ' .trajectory');
    const ground = Number(document.querySelector(sel + ' .ground').getAttribute('y1'));
    const length = path.getTotalLength();
    const points = Array.from({ length: 1001 }, (_, k) => path.getPointAtLength((length * k) / 1000));
    const xs = points.map((p) => p.x);
    const top = Math.min(...points.map((p) => p.y));
    const angle = (a, b) => (Math.atan2(Math.abs(b.y - a.y), Math.abs(b.x - a.x)) * 180) / Math.PI;
    return {
      ratio: (ground - top) / (Math.max(...xs) - Math.min(...xs)),
      launch: angle(path.getPointAtLength(0), path.getPointAtLength(length / 2000)),
      impact: angle(path.getPointAtLength(length - length / 2000), path.getPointAtLength(length)),
    };
  }, selector);

  // The extremes of the launches there are, each question 1 of its set: 99.48
  // m/s at 10 degrees (a flat path), 10.12 m/s at 79.98 degrees, a 99.79 m
  // drop at 10.32 m/s, and a 1.25 m drop at 99.17 m/s.
  const EXTREMES = [1796662257, 1796802811, 1796652317, 1796702360];

  test('figures: the question\'s sketch, and the answer\'s path to scale, legible at the extremes', async () => {
    for (const [i, set] of [SECOND, SECOND + 1, ...EXTREMES].entries()) {
      const page = await openPractice(`#practice&set=${set}`, SECOND,
        { viewport: { width: i % 2 ? 360 : 1280, height: 900 }, colorScheme: i % 2 ? 'dark' : 'light' });
      const [{ question, answer }] = practiceSet(set, 1);
      const number = (pattern, text) => Number(text.match(pattern)[1]);
      // The sketch states what the question gives, and nothing of its answer.
      const sketch = await page.locator('#practice-figure svg').evaluate((svg) => ({
        role: svg.getAttribute('role'), title: svg.querySelector('title').textContent,
        desc: svg.querySelector('desc').textContent, labels: [...svg.querySelectorAll('text')].map((t) => t.textContent),
        paths: svg.querySelectorAll('.trajectory').length,
      }));
      assert.equal(sketch.role, 'img');
      assert.equal(sketch.paths, 0);
      const given = question.match(/[\d.]+ (m\/s|m\n|degrees)/g).map((g) => g.replace(/ degrees$/, '°').trim());
      assert.deepEqual([...sketch.labels].sort(), [...given].sort(), set);
      assert.match(sketch.title, /^Question 1: launched /);
      assert.equal(await page.locator('#practice-answer-figure').isVisible(), false);

      await page.getByRole('button', { name: 'Show answer' }).click();
      await page.locator('#practice-answer-figure svg').waitFor();
      const shape = await pathShape(page, '#practice-answer-figure');
      const range = number(/Range = (\S+) m/, answer);
      const rise = question.includes('horizontally') ? number(/height of (\S+) m/, question) : number(/Max height = (\S+) m/, answer);
      assert.ok(Math.abs(shape.ratio / (rise / range) - 1) < 0.02, `${set}: height / range ${shape.ratio} for ${rise / range}`);
      const launch = question.includes('horizontally') ? 0 : number(/at an angle (\S+) degrees/, question);
      assert.ok(Math.abs(shape.launch - launch) < 0.02 * 90, `${set}: launched at ${shape.launch} for ${launch}`);
      const impact = number(/at an angle of (\S+) degrees below/, answer);
      assert.ok(Math.abs(shape.impact / impact - 1) < 0.02, `${set}: lands at ${shape.impact} for ${impact}`);
      assert.deepEqual(await figureFaults(page, '.figure svg'), []);
      const labels = await page.locator('#practice-answer-figure text').allTextContents();
      for (const [, pattern] of [[0, /Range = (\S+) m/], [0, /Velocity on impact is (\S+) m\/s/], [0, /Time of flight = (\S+) s/]]) {
        assert.ok(labels.some((l) => l.includes(answer.match(pattern)[1])), `${set}: ${pattern}`);
      }
      assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth));
      await page.screenshot({ path: path.join(shots, `figure-${set}-${i % 2 ? '360-dark' : '1280-light'}.png`), fullPage: true });
      await page.close();
    }
  });

  test('practice: a bad set in the address is refused, the console runs from the clock', async () => {
    const page = await browser.newPage();
    await page.clock.setFixedTime(SECOND * 1000);
    await page.goto(url + '#set=12x');
    await waiting(page);
    assert.match(await page.locator('#notice').textContent(), /set "12x", which is not a whole number/);
    await type(page, '3');
    await waiting(page);
    assert.equal(await screenText(page), screenOf(['3']));
    // A link opened in the same tab starts the page again at its set.
    await page.evaluate(() => { location.hash = 'set=4294967295'; });
    await page.waitForFunction(() => document.getElementById('screen').dataset.set === '4294967295');
    await type(page, '3');
    await waiting(page);
    assert.equal(await screenText(page), screenOf(['3'], 4294967295));
    await page.close();
  });

  test('a class: a sheet for each pasted name, the keys, the list with each student\'s Practice link', async () => {
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
    const page = await context.newPage();
    await page.clock.setFixedTime(SECOND * 1000);
    await page.goto(`${url}#worksheet`);
    await page.locator('#sheet-questions pre').first().waitFor();
    const names = ['Lee, Sam', 'Say "Hi"', '=SUM(A1)', '<b>Bold</b> & Co', '李雷', 'Zoë'];
    for (let i = names.length; i < 30; i++) {
      names.push(`Student ${i}`);
    }
    await page.locator('#worksheet-set').fill(String(SECOND));
    await page.locator('#worksheet-count').fill('5');
    await page.locator('#worksheet-names').fill(['Ann', 'Bo', 'Ann'].join('\n'));
    await page.getByRole('button', { name: 'Show' }).click();
    assert.equal(await page.locator('#worksheet-problem').textContent(), 'Names: line 3: the name "Ann" is on line 1 too.');
    assert.equal(await page.locator('#worksheet-names').getAttribute('aria-invalid'), 'true');
    // Pasted from a spreadsheet: two columns, a heading row.
    await page.locator('#worksheet-names').fill(['Name\tEmail', ...names.map((n, i) => `${n}\tx${i}@school`)].join('\n'));
    await page.getByRole('button', { name: 'Show' }).click();
    const headings = await page.locator('.student-sheet h3').allTextContents();
    assert.equal(headings.length, 30);
    assert.deepEqual(await page.locator('.student-key h3').allTextContents(), headings);
    // The address keeps the class set and the number of versions, never the names.
    assert.equal(await page.evaluate(() => location.hash), `#worksheet&set=${SECOND}&versions=30&count=5`);
    // The list, from a page opened from a file: its links open on this
    // computer only, and it says so.
    const [local] = await Promise.all([page.waitForEvent('download'),
      page.getByRole('button', { name: 'Download the class list' }).click()]);
    assert.ok(csvRows(fs.readFileSync(await local.path(), 'utf8'))[1][3].startsWith('file://'));
    assert.match(await page.locator('#worksheet-note').textContent(), /on this computer only/);
    // Given where students open the page (a web host here), each student's
    // version and set, and the link that opens Practice there at that set,
    // with that student's questions. The list is UTF-8 after a byte-order mark.
    const host = http.createServer((request, response) => {
      response.writeHead(200, { 'content-type': 'text/html' });
      response.end(fs.readFileSync(pageFile));
    });
    await new Promise((resolve) => host.listen(0, '127.0.0.1', resolve));
    const students = `http://127.0.0.1:${host.address().port}/projectile-questions.html`;
    await page.getByRole('textbox', { name: 'Students open the page at' }).fill(students);
    const [download] = await Promise.all([page.waitForEvent('download'),
      page.getByRole('button', { name: 'Download the class list' }).click()]);
    assert.equal(download.suggestedFilename(), `projectile-class-${SECOND}.csv`);
    assert.equal(await page.locator('#worksheet-note').isVisible(), false);
    const csv = fs.readFileSync(await download.path(), 'utf8');
    assert.ok(csv.startsWith('\ufeffname,version,set,practice\r\n'));
    const rows = csvRows(csv).slice(1);
    assert.equal(rows.length, 30);
    for (const [i, name] of names.entries()) {
      assert.equal(headings[i], `${name}, set ${rows[i][2]}`);
    }
    assert.equal(rows[2][0], "'=SUM(A1)");
    const link = rows[4][3];
    const student = Number(rows[4][2]);
    const practice = await context.newPage();
    await practice.goto(link);
    await practice.locator('#value-0').waitFor();
    assert.equal(await practice.locator('#practice-set').textContent(), String(student));
    assert.equal(await practice.locator('#practice-question').textContent(), practiceSet(student, 1)[0].question);
    assert.ok(link.startsWith(`${students}#practice&set=`));
    await practice.close();
    host.close();
    // Printed: a sheet for each student, each from a new page.
    await page.emulateMedia({ media: 'print' });
    const pdf = path.join(shots, 'class-worksheet.pdf');
    await page.pdf({ path: pdf, format: 'A4' });
    await page.emulateMedia({ media: 'screen' });
    const pages = spawnSync('pdftotext', [pdf, '-'], { encoding: 'utf8' }).stdout.split('\f');
    for (const heading of headings) {
      assert.equal(pages.filter((p) => p.includes(heading + '\n1. ')).length, 1, heading);
    }

    // A whole class's files, as large as the page makes them: the bytes
    // projectile-set writes, however much memory they take.
    await page.locator('#worksheet-names').fill('');
    await page.locator('#worksheet-count').fill('10');
    for (const versions of [40, 200]) {
      await page.locator('#worksheet-versions').fill(String(versions));
      await page.getByRole('button', { name: 'Show' }).click();
      for (const [button, option] of [['Download for Canvas', '--qti'], ['Download for Moodle', '--moodle']]) {
        const [file] = await Promise.all([page.waitForEvent('download'),
          page.getByRole('button', { name: button }).click()]);
        const saved = path.join(shots, `class-${versions}-${file.suggestedFilename()}`);
        await file.saveAs(saved);
        const expected = spawnSync(path.join(path.dirname(program), 'projectile-set'),
          [option, '--set', String(SECOND), '--versions', String(versions), '--count', '10'],
          { maxBuffer: 1 << 28 }).stdout;
        assert.ok(fs.readFileSync(saved).equals(expected), `${versions} x 10 ${option}`);
      }
    }
    await context.close();
  });

  test('paper: a class without room to work takes two pages a student; a long name breaks, never shrinks the print', async () => {
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
    const page = await context.newPage();
    await page.clock.setFixedTime(SECOND * 1000);
    await page.goto(`${url}#worksheet&set=${SECOND}&versions=30&count=10`);
    await page.locator('.student-sheet h3').first().waitFor();
    await page.getByRole('checkbox', { name: 'Room to work under each question' }).uncheck();
    await page.getByRole('checkbox', { name: 'Answer sheets to mark' }).uncheck();
    const headings = await page.locator('.student-sheet h3').allTextContents();
    assert.equal(headings.length, 30);
    // Pages a student's sheet takes: from the page where it starts to where
    // the next starts, or the keys do.
    const sheetPages = async (format) => {
      const pdf = path.join(shots, `class-${format}.pdf`);
      await page.emulateMedia({ media: 'print' });
      await page.pdf({ path: pdf, format });
      await page.emulateMedia({ media: 'screen' });
      const pages = spawnSync('pdftotext', [pdf, '-'], { encoding: 'utf8' }).stdout.split('\f');
      const starts = headings.map((h) => pages.findIndex((text) => text.includes(h + '\n1. ')));
      const keys = pages.findIndex((text) => text.includes('No.'));
      return starts.map((start, i) => (i + 1 < starts.length ? starts[i + 1] : keys) - start);
    };
    for (const format of ['A4', 'Letter']) {
      const taken = await sheetPages(format);
      assert.ok(taken.every((n) => n >= 1 && n <= 2), `${format}: pages a student ${taken}`);
    }

    // A name of a hundred letters without a space: the same pages as a short
    // one, on the sheet and the key, and no sideways scroll on a phone.
    const long = 'W'.repeat(100);
    await page.getByRole('checkbox', { name: 'Room to work under each question' }).check();
    const pagesOf = async (names, format) => {
      await page.locator('#worksheet-names').fill(names.join('\n'));
      await page.getByRole('button', { name: 'Show' }).click();
      const pdf = path.join(shots, 'class-names.pdf');
      await page.emulateMedia({ media: 'print' });
      await page.pdf({ path: pdf, format });
      await page.emulateMedia({ media: 'screen' });
      const info = spawnSync('pdfinfo', [pdf], { encoding: 'utf8' }).stdout;
      return Number(info.match(/Pages:\s+(\d+)/)[1]);
    };
    for (const format of ['A4', 'Letter']) {
      assert.equal(await pagesOf([long, 'Bo'], format), await pagesOf(['Al', 'Bo'], format), format);
    }
    await page.locator('#worksheet-names').fill([long, 'Bo'].join('\n'));
    await page.getByRole('button', { name: 'Show' }).click();
    await page.setViewportSize({ width: 360, height: 740 });
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= 360));
    await context.close();
  });

  test('answer sheets: printed after each student\'s sheet, read back; Mark papers marks as projectile-set does', async () => {
    const projectileSet = path.join(path.dirname(program), 'projectile-set');
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 }, acceptDownloads: true });
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(String(error)));
    await page.goto(`${url}#worksheet&set=2101770013&versions=3&count=10`);
    await page.locator('.student-sheet h3').first().waitFor();
    // Printed on either paper, every answer page is one the reader knows,
    // those not yet drawn on screen too.
    for (const [format, paper] of [['A4', 'a4'], ['Letter', 'letter']]) {
      await page.getByLabel('Paper', { exact: true }).selectOption(paper);
      assert.equal(await page.locator('.student-sheet img.answer-page').count(), 6);
      const pdf = path.join(shots, `answer-sheets-${format}.pdf`);
      await page.emulateMedia({ media: 'print' });
      await page.pdf({ path: pdf, format });
      await page.emulateMedia({ media: 'screen' });
      const marked = spawnSync(projectileSet, ['--set', '2101770013', '--versions', '3', '--count', '10',
        '--mark', pdf], { encoding: 'utf8' });
      assert.equal(marked.status, 0, marked.stderr);
      const rows = csvRows(marked.stdout.slice(1)).slice(1);
      assert.deepEqual(rows.map((r) => r[1]), ['1', '2', '3'], `${format}: ${marked.stderr}`);
      assert.ok(rows.every((r) => r[3] === '0' && r[4] === '0'), format);
      assert.doesNotMatch(marked.stderr, /unclear|another/, format);
    }

    // A class of 30's filled sheets, scanned at 200 dpi and spoiled (turned,
    // noisy, JPEG'd, one upside down, shuffled), chosen all at once with a
    // broken file: the marks as projectile-set writes them of the same
    // files, byte for byte, and the broken file named.
    await page.locator('#worksheet-versions').fill('30');
    await page.getByRole('button', { name: 'Show' }).click();
    const scans = fs.mkdtempSync(path.join(os.tmpdir(), 'web-scans-'));
    const made = spawnSync('/usr/bin/python3', [fileURLToPath(new URL('scan_test.py', import.meta.url)),
      '--images', projectileSet, scans, '30', '200'], { encoding: 'utf8' });
    assert.equal(made.status, 0, made.stderr);
    const files = fs.readdirSync(scans).filter((f) => f.endsWith('.png')).map((f) => path.join(scans, f));
    const broken = path.join(scans, 'broken.png');
    fs.writeFileSync(broken, 'not a picture');
    const download = page.getByRole('button', { name: 'Download the marks' });
    assert.ok(await download.isDisabled());
    await page.getByLabel('Mark papers').setInputFiles([...files, broken]);
    // A guard against a hang, not a bound on time: these machines are shared.
    await page.waitForFunction(() => !document.getElementById('download-marks').disabled, null, { timeout: 300000 });
    assert.deepEqual(await page.locator('#marks-skipped li').allTextContents(),
      ['broken.png: not an image this browser can read']);
    const [file] = await Promise.all([page.waitForEvent('download'), download.click()]);
    assert.equal(file.suggestedFilename(), 'projectile-marks-2101770013.csv');
    const expected = spawnSync(projectileSet, ['--set', '2101770013', '--versions', '30', '--count', '10',
      '--mark', ...files]);
    const saved = fs.readFileSync(await file.path());
    assert.ok(saved.equals(expected.stdout), 'the page\'s marks are projectile-set\'s');
    const unclear = expected.stderr.toString().split('\n').filter((l) => l.includes('unclear:'));
    assert.equal(await page.locator('.unclear-value').count(), unclear.length);

    // An unclear value beside its crop: refused when it is no number, then
    // settled and judged, and the marks follow.
    const first = page.locator('.unclear-value').first();
    // Its crop, the right way up (a value's block is taller than wide).
    assert.ok(await first.locator('canvas').evaluate((crop) => !crop.hidden && crop.width > 50 && crop.height > crop.width));
    await first.getByRole('textbox').fill('two');
    await first.getByRole('button', { name: 'Settle' }).click();
    assert.equal(await first.getByRole('textbox').getAttribute('aria-invalid'), 'true');
    await first.getByRole('textbox').fill('12');
    await first.getByRole('button', { name: 'Settle' }).click();
    assert.equal(await page.locator('.unclear-value').count(), unclear.length - 1);
    const table = await page.locator('#marks-table tbody tr td:nth-child(5)').allTextContents();
    assert.equal(table.reduce((sum, n) => sum + Number(n), 0), unclear.length - 1);
    assert.deepEqual(page.errors, []);
    await context.close();
  });

  test('practice on a phone: what is asked for comes into view and is heard, the set stays, the console is not heard', async () => {
    const set = 3141592653;
    const page = await openPractice(`#practice&set=${set}`, SECOND, {
      viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, colorScheme: 'dark',
    });
    const [first, next] = practiceSet(set, 2);
    const heard = () => page.evaluate(() => [...document.getElementById('announce').children].map((p) => p.textContent));
    assert.deepEqual(await heard(), [first.question.trim()]);
    // Each hint's new line is on the screen, whole.
    await page.getByRole('button', { name: 'Hint' }).scrollIntoViewIfNeeded();
    for (let k = 0; k < first.answer.split('\n').length - 3; k++) {
      await page.getByRole('button', { name: 'Hint' }).tap();
      const { top, bottom } = await page.locator('#practice-answer').evaluate((e) => e.getBoundingClientRect());
      assert.ok(bottom <= 740 && bottom - top > 0, `hint ${k + 1}: the answer ends at ${bottom} of 740`);
    }
    // All of the answer out by hints: its values typed are no longer counted.
    await fillAll(page, first.asked, (p) => p);
    await page.getByRole('button', { name: 'Check' }).tap();
    assert.match(await tally(page), /^Right at the first try: 0 of 0 values/);
    // An empty Check says what to do, shown and heard.
    await page.getByRole('button', { name: 'Next question' }).tap();
    assert.equal((await heard()).pop(), next.question.trim());
    await page.getByRole('button', { name: 'Check' }).tap();
    assert.equal(await page.locator('#practice-notice').textContent(), 'Type a value in at least one field.');
    assert.equal((await heard()).pop(), 'Type a value in at least one field.');
    // The question describes each of its fields.
    assert.match(await page.locator('#value-0').getAttribute('aria-describedby'), /^practice-question /);

    // A long console run while Practice is on screen: nothing of it is heard.
    await page.getByRole('button', { name: 'Console' }).tap();
    await type(page, '10000');
    await page.getByRole('button', { name: 'Practice' }).tap();
    await page.evaluate(() => {
      window.heardLater = [];
      new MutationObserver(() => window.heardLater.push(document.getElementById('announce').textContent))
        .observe(document.getElementById('announce'), { childList: true, subtree: true, characterData: true });
    });
    await new Promise((resolve) => setTimeout(resolve, 4500));
    const later = await page.evaluate(() => window.heardLater);
    assert.ok(later.every((text) => !text.includes('Answer:') && !text.includes('Velocity on impact')),
      `console text heard in Practice: ${later.join(' | ').slice(0, 200)}`);
    // A new console run changes the Console's set, not Practice's, which offers it.
    await page.getByRole('button', { name: 'Console' }).tap();
    await page.getByRole('button', { name: 'Stop' }).tap();
    await ended(page);
    await page.getByRole('button', { name: 'New run' }).tap();
    await waiting(page);
    await page.getByRole('button', { name: 'Practice' }).tap();
    assert.equal(await page.locator('#practice-set').textContent(), String(set));
    assert.equal(await page.locator('#practice-question').textContent(), next.question);
    assert.equal(await page.locator('#practise-offered').textContent(), `Practise set ${SECOND}`);
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  test('axe finds nothing in any view, on a dark phone and a light wide screen', async () => {
    const axe = fs.readFileSync(path.join(path.dirname(new URL(import.meta.url).pathname), '..',
      'node_modules', 'axe-core', 'axe.min.js'), 'utf8');
    for (const options of [
      { viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, colorScheme: 'dark' },
      { viewport: { width: 1280, height: 900 }, colorScheme: 'light' },
    ]) {
      for (const [view, ready] of [['', '#line'], ['#practice', '#value-0'], ['#worksheet', '.key td'],
        [`#worksheet&set=${SECOND}&versions=30&count=10`, '.student-key td']]) {
        const page = await browser.newPage(options);
        await page.clock.setFixedTime(SECOND * 1000);
        await page.goto(url + view);
        await page.locator(ready).first().waitFor();
        // Opening the Worksheet says nothing (the console is heard as it
        // writes, Practice its question).
        if (view.startsWith('#worksheet')) {
          assert.equal(await page.locator('#announce').textContent(), '', view);
        }
        await page.evaluate(axe);
        const found = await page.evaluate(() => window.axe.run().then((r) => r.violations.map((v) =>
          `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)));
        assert.deepEqual(found, [], `${view || '#console'} at ${options.viewport.width} px`);
        // The keys are one stop for the keyboard where they scroll, else none.
        const stops = await page.locator('#sheet-keys, #sheet-keys [tabindex]').evaluateAll((found) =>
          found.filter((e) => e.tabIndex >= 0).map((e) => [e.id, e.scrollWidth > e.clientWidth]));
        assert.ok(stops.every(([id, scrolls]) => id === 'sheet-keys' && scrolls), JSON.stringify(stops));
        await page.close();
      }
    }
  });

  test('practice: a phone in dark mode, a wide light screen, and print', async () => {
    const phone = await openPractice('#practice', SECOND, {
      viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, colorScheme: 'dark',
    });
    const [{ asked, answer }] = practiceSet(SECOND, 1);
    assert.equal(await phone.locator('#value-0').getAttribute('inputmode'), 'decimal');
    // A slip named (the drop without its 2), a value right, two hints shown.
    const slipped = async (page) => {
      await field(page, asked[0][0]).fill(String(Math.sqrt(64.48 / 9.8).toFixed(3)));
      await field(page, asked[1][0]).fill(asked[1][1]);
      await page.getByRole('button', { name: 'Check' }).click();
      await page.getByRole('button', { name: 'Hint' }).click();
      await page.getByRole('button', { name: 'Hint' }).click();
      assert.equal(await page.locator('[data-slip]').count(), 1);
    };
    await slipped(phone);
    await phone.screenshot({ path: path.join(shots, 'practice-360-dark.png'), fullPage: true });
    assert.ok(await phone.evaluate(() => document.documentElement.scrollWidth <= 360));
    await phone.close();

    const wide = await openPractice('#practice', SECOND, { viewport: { width: 1280, height: 900 }, colorScheme: 'light' });
    await slipped(wide);
    await wide.screenshot({ path: path.join(shots, 'practice-1280-light.png'), fullPage: true });
    await fillAll(wide, asked, (p) => p);
    await wide.keyboard.press('Enter');
    await wide.getByRole('button', { name: 'Show answer' }).click();
    await wide.emulateMedia({ media: 'print' });
    const printed = await wide.evaluate(() => ['#practice-question', '#practice-answer', '#practice-form', '.views']
      .map((s) => getComputedStyle(document.querySelector(s)).display));
    assert.deepEqual(printed, ['block', 'block', 'none', 'none']);
    assert.equal(await wide.locator('#practice-answer').textContent(), answer);
    await wide.pdf({ path: path.join(shots, 'practice-printed.pdf') });
    await wide.close();
  });

  test('a link to a sheet or to Practice opens there alone, from the one reply the address gets', async () => {
    const page = await browser.newPage();
    await page.clock.setFixedTime(SECOND * 1000);
    const errors = [];
    page.on('pageerror', (error) => errors.push(String(error)));
    await page.goto(`${url}#worksheet&set=5&count=12`);
    await page.locator('#sheet-questions pre').first().waitFor();
    assert.equal(await page.locator('#sheet-questions pre').count(), 12);
    assert.equal(await page.locator('#worksheet-set').inputValue(), '5');
    assert.equal(await page.locator('#worksheet-count').inputValue(), '12');
    assert.equal(await page.locator('#sheet-title').textContent(), 'Projectile motion questions, set 5');
    // No console run was started to learn the set: its screen is empty,
    // and nothing of it was heard.
    assert.equal(await screenText(page), '');
    assert.equal(await page.locator('#announce').textContent(), '');
    // Every call that needs Practice or a sheet, made before either, is
    // answered with its reason, never with what is not there.
    await page.goto(`${url}#set=7`);
    await waiting(page);
    const early = await page.evaluate(() => window.page.library.then((call) => [
      call('practice_next'), call('practice_start_over'), call('practice_check', ['string'], ['1']),
      call('practice_hint'), call('practice_show'), call('sheet_file', ['string', 'string'], ['moodle', '']),
    ]));
    assert.deepEqual(early.map((reply) => reply.problem), [...Array(5).fill('Practice has no set open.'),
      'There is no sheet yet: press Show first.']);
    await page.goto(`${url}#practice&set=7`);
    await page.locator('#value-0').waitFor();
    assert.equal(await page.locator('#practice-question').textContent(), practiceSet(7, 1)[0].question);
    assert.equal(await screenText(page), '');
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('a set travels: #set=S, Copy link, the worksheet on paper and the Moodle file', async () => {
    const other = SECOND + 1000;
    // The address's set, whatever the clock says.
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    const page = await context.newPage();
    await page.clock.setFixedTime(SECOND * 1000);
    await page.goto(`${url}#set=${other}`);
    await type(page, '4');
    await waiting(page);
    assert.equal(await screenText(page), screenOf(['4'], other));
    assert.equal(await page.locator('#set-line').textContent(), `Set ${other}`);
    await page.getByRole('button', { name: 'Copy link' }).click();
    await page.waitForFunction(() => !document.getElementById('notice').hidden);
    const link = await page.evaluate(() => navigator.clipboard.readText());
    assert.equal(link, `${url}#set=${other}`);
    const opened = await browser.newPage();
    await opened.clock.setFixedTime((SECOND + 5) * 1000);
    await opened.goto(link);
    await type(opened, '4');
    await waiting(opened);
    assert.equal(await screenText(opened), screenOf(['4'], other));
    await opened.close();

    // The worksheet: 12 questions of the set, then its answers from a new page.
    await page.getByRole('button', { name: 'Worksheet' }).click();
    await page.locator('#sheet-questions pre').first().waitFor();
    assert.equal(await page.locator('#worksheet-set').inputValue(), String(other));
    await page.locator('#worksheet-count').fill('12');
    await page.keyboard.press('Enter');
    const pieces = practiceSet(other, 12);
    assert.deepEqual(await page.locator('#sheet-questions pre').allTextContents(), pieces.map((p) => p.question));
    assert.deepEqual(await page.locator('#sheet-answers pre').allTextContents(),
      pieces.map((p, i) => `${i + 1}.\n${p.answer}`));
    // The key opens with a row of asked values per question, as printed;
    // each question and answer has its figure, every label clear.
    const table = await page.locator('.key tr').evaluateAll((rows) =>
      rows.map((r) => [...r.children].map((c) => c.textContent)));
    const names = ['Time of flight', 'Range', 'Max height', 'Impact speed', 'Impact angle'];
    assert.deepEqual(table.slice(1), pieces.map((p, i) => [String(i + 1),
      ...names.map((name) => p.asked.find(([n]) => n === name)?.[1] ?? '-')]));
    assert.equal(await page.locator('#sheet-questions svg[role=img]').count(), 12);
    assert.equal(await page.locator('#sheet-answers svg .trajectory').count(), 12);
    assert.deepEqual(await figureFaults(page, '#sheet svg'), []);
    await page.screenshot({ path: path.join(shots, 'worksheet-1280-light.png') });
    const pdf = path.join(shots, 'worksheet.pdf');
    await page.emulateMedia({ media: 'print' });
    // On A4 and on Letter: a name line first, every question with the same
    // room, the key packed; 12 questions in at most 9 pages, and their
    // three answer pages a page each.
    for (const format of ['Letter', 'A4']) {
      await page.pdf({ path: path.join(shots, `worksheet-${format}.pdf`), format });
      const info = spawnSync('pdfinfo', [path.join(shots, `worksheet-${format}.pdf`)], { encoding: 'utf8' }).stdout;
      const count = Number(info.match(/Pages:\s+(\d+)/)[1]);
      assert.ok(count <= 12, `12 questions take ${count} ${format} pages`);
    }
    const rooms = await page.locator('#sheet-questions .piece').evaluateAll((pieces) =>
      [...new Set(pieces.map((p) => Math.round(p.getBoundingClientRect().height)))]);
    assert.equal(rooms.length, 1, `questions get rooms of ${rooms} px`);
    await page.pdf({ path: pdf });
    await page.emulateMedia({ media: 'screen' });
    const pages = spawnSync('pdftotext', [pdf, '-'], { encoding: 'utf8' }).stdout.split('\f');
    assert.match(pages[0], /^Projectile motion questions, set \d+\nName\n[^]*\nDate\n/);
    const firstAnswers = pages.findIndex((p) => p.includes('Answers'));
    assert.ok(firstAnswers > 0, 'the answers begin on a later page');
    const printed = (from, to) => pages.slice(from, to).join('\n').replace(/\s+/g, ' ');
    const flat = (text) => text.replace(/\s+/g, ' ').trim();
    assert.ok(printed(0, 1).startsWith(`Projectile motion questions, set ${other} `));
    for (const [i, { question, answer }] of pieces.entries()) {
      assert.ok(printed(0, firstAnswers).includes(flat(question)), `question ${i + 1} is on the sheet`);
      assert.ok(printed(firstAnswers).includes(flat(`${i + 1}. ${answer}`)), `answer ${i + 1} is in the key`);
    }
    assert.ok(!printed(0, firstAnswers).includes('Answer:'), 'no answer before the key');
    // The figures print as vectors: their labels are text on the page.
    assert.ok(printed(firstAnswers).includes(`range ${pieces[0].asked[1][1]} m`), 'the answer figures print as text');
    assert.ok(printed(0, firstAnswers).includes(pieces[0].question.match(/speed of (\S+ m\/s)/)[1]));

    // Moodle's file: the bytes projectile-set writes for the same set and count.
    const [download] = await Promise.all([page.waitForEvent('download'),
      page.getByRole('button', { name: 'Download for Moodle' }).click()]);
    assert.equal(download.suggestedFilename(), `projectile-set-${other}.xml`);
    const saved = path.join(shots, download.suggestedFilename());
    await download.saveAs(saved);
    const expected = spawnSync(path.join(path.dirname(program), 'projectile-set'),
      ['--moodle', '--set', String(other), '--count', '12']).stdout;
    assert.ok(fs.readFileSync(saved).equals(expected));
    // Canvas's package: the bytes projectile-set --qti writes.
    const [zip] = await Promise.all([page.waitForEvent('download'),
      page.getByRole('button', { name: 'Download for Canvas' }).click()]);
    assert.equal(zip.suggestedFilename(), `projectile-set-${other}.zip`);
    await zip.saveAs(path.join(shots, zip.suggestedFilename()));
    const packaged = spawnSync(path.join(path.dirname(program), 'projectile-set'),
      ['--qti', '--set', String(other), '--count', '12']).stdout;
    assert.ok(fs.readFileSync(path.join(shots, zip.suggestedFilename())).equals(packaged));

    // A count the library refuses is named, shown and heard, and the sheet
    // under it is cleared, so that no stale sheet is printed.
    await page.locator('#worksheet-count').fill('101');
    await page.keyboard.press('Enter');
    const refusal = 'Questions must be a whole number from 1 to 100, not \'101\' (projectile-set writes up to 10000).';
    assert.equal(await page.locator('#worksheet-problem').textContent(), refusal);
    assert.equal(await page.evaluate(() => document.getElementById('announce').lastElementChild.textContent), refusal);
    assert.equal(await page.locator('#worksheet-count').getAttribute('aria-invalid'), 'true');
    assert.equal(await page.locator('#sheet-questions pre').count(), 0);
    await context.close();

    const phone = await browser.newPage({ viewport: { width: 360, height: 740 }, isMobile: true, colorScheme: 'dark' });
    await phone.clock.setFixedTime(SECOND * 1000);
    await phone.goto(`${url}#worksheet`);
    await phone.locator('#sheet-questions pre').first().waitFor();
    assert.ok(await phone.evaluate(() => document.documentElement.scrollWidth <= 360));
    await phone.screenshot({ path: path.join(shots, 'worksheet-360-dark.png') });
    await phone.close();
  });
});

// A whole session in another engine: 300 questions and their answers, the
// closing prompt and the end, as the console program writes them.
async function session(driver) {
  await driver.waitForPrompt();
  await driver.type('300\n');
  await driver.waitFor(() => document.getElementById('partial').textContent !== '' &&
    !document.getElementById('line').hidden && document.getElementById('screen').textContent.includes('\n300. '));
  await driver.type('\n');
  await driver.waitFor(() => !document.getElementById('again').hidden);
  return driver.evaluate(() => document.getElementById('screen').textContent);
}

// A class's quiz files as another engine's page makes them, 30, 40 and 200
// versions of 10 questions: each the bytes projectile-set writes. The page
// hands back each one's size and digest, not megabytes of bytes.
function fnv(bytes) {
  let hash = 0x811c9dc5;
  for (const byte of bytes) {
    hash = Math.imul(hash ^ byte, 0x01000193) >>> 0;
  }
  return hash;
}
const classFilesScript = `
  const fnv = ${fnv.toString()};
  const call = await window.page.library;
  const made = {};
  for (const versions of [30, 40, 200]) {
    call('sheet', ['string', 'string', 'string', 'string'], ['${SECOND}', '10', String(versions), '']);
    for (const form of ['qti', 'moodle']) {
      const file = call('sheet_file', ['string', 'string', 'string'], [form, '', location.href]);
      made[versions + ' ' + form] = [file.size, fnv(call.bytes(file.at, file.size))];
    }
  }
  return made;`;

function assertClassFiles(made) {
  for (const versions of [30, 40, 200]) {
    for (const form of ['qti', 'moodle']) {
      const bytes = spawnSync(path.join(path.dirname(program), 'projectile-set'),
        [`--${form}`, '--set', String(SECOND), '--versions', String(versions), '--count', '10'],
        { maxBuffer: 1 << 28 }).stdout;
      assert.deepEqual(made[`${versions} ${form}`], [bytes.length, fnv(bytes)], `${versions} x 10 --${form}`);
    }
  }
}

// Practice in another engine: one question checked right, the next one's
// answer shown, against the console program at the same second.
async function practiceSession(driver, second) {
  const [first, next] = practiceSet(second, 2);
  await driver.waitFor(() => document.getElementById('value-0') !== null);
  const question = () => driver.evaluate(() => document.getElementById('practice-question').textContent);
  assert.equal(await question(), first.question);
  for (const [k, [, printed]] of first.asked.entries()) {
    await driver.fill(`#value-${k}`, printed);
  }
  await driver.click('#practice-form button[type=submit]');
  assert.deepEqual(await driver.evaluate(() => [...document.querySelectorAll('.verdict')].map((v) => v.textContent)),
    first.asked.map(() => '✓ Right.'));
  await driver.click('#next-question');
  await driver.click('#show-answer');
  assert.equal(await question(), next.question);
  assert.equal(await driver.evaluate(() => document.getElementById('practice-answer').textContent), next.answer);
  // Both figures drawn by this engine: the path laid out, the labels measured.
  const drawn = await driver.evaluate(() => {
    const path = document.querySelector('#practice-answer-figure .trajectory');
    const labels = [...document.querySelectorAll('.figure text')].map((t) => t.getBBox().width);
    return path !== null && path.getTotalLength() > 100 && labels.length > 4 && labels.every((w) => w > 0);
  });
  assert.ok(drawn, 'the figures are not drawn');
}

test('firefox: a whole session at a frozen second', async () => {
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
  });
  try {
    const page = await browser.newPage();
    // The seed is Date.now() in whole seconds.
    await page.evaluateOnNewDocument((ms) => {
      Date.now = () => ms;
    }, SECOND * 1000);
    await page.goto(url);
    const shown = await session({
      waitForPrompt: () => page.waitForSelector('#line:not([hidden])'),
      type: (text) => page.keyboard.type(text.replace('\n', '')).then(() => page.keyboard.press('Enter')),
      waitFor: (f) => page.waitForFunction(f, { polling: 50, timeout: 60000 }),
      evaluate: (f) => page.evaluate(f),
    });
    assert.equal(shown, screenOf(['300', '']));

    const practice = await browser.newPage();
    await practice.evaluateOnNewDocument((ms) => {
      Date.now = () => ms;
    }, SECOND * 1000);
    await practice.goto(url + '#practice');
    await practiceSession({
      waitFor: (f) => practice.waitForFunction(f, { polling: 50, timeout: 60000 }),
      evaluate: (f) => practice.evaluate(f),
      fill: (selector, text) => practice.type(selector, text),
      click: (selector) => practice.click(selector),
    }, SECOND);
    assertClassFiles(await practice.evaluate(`(async () => {${classFilesScript}})()`));
  } finally {
    await browser.close();
  }
});

// WebKit's clock cannot be frozen before the page runs, so the questions are
// whatever the second draws: each, and its answer, must be the text this
// machine's build writes for the same launch (projectile-answer).
test('webkit: a whole session, every answer the console\'s', async () => {
  const port = 4400 + (process.pid % 500);
  const driver = spawn('xvfb-run', ['-a', 'WebKitWebDriver', `--port=${port}`], {
    stdio: 'ignore', detached: true,
  });
  const call = async (method, where, body) => {
    const response = await fetch(`http://127.0.0.1:${port}${where}`, {
      method, headers: { 'content-type': 'application/json' }, body: body && JSON.stringify(body),
    });
    const { value } = await response.json();
    if (value?.error) {
      throw new Error(`${where}: ${value.error}: ${value.message}`);
    }
    return value;
  };
  try {
    let opened;
    for (let tries = 0; !opened; tries++) {
      try {
        opened = await call('POST', '/session', { capabilities: { alwaysMatch: {
          'webkitgtk:browserOptions': {
            binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'],
          },
        } } });
      } catch (error) {
        if (tries > 50) {
          throw error;
        }
        await new Promise((resolve) => setTimeout(resolve, 200)); // the driver is starting
      }
    }
    const at = `/session/${opened.sessionId}`;
    const evaluate = (f) => call('POST', `${at}/execute/sync`, { script: `return (${f})()`, args: [] });
    await call('POST', `${at}/url`, { url });
    const line = Object.values(await call('POST', `${at}/element`, { using: 'css selector', value: '#line' }))[0];
    const shown = await session({
      waitForPrompt: () => waitUntil(() => evaluate(() => !document.getElementById('line').hidden)),
      type: (text) => call('POST', `${at}/element/${line}/value`, { text: text.replace('\n', '\uE007') }),
      waitFor: (f) => waitUntil(() => evaluate(f)),
      evaluate,
    });

    // Practice, at a set the address gives.
    await call('POST', `${at}/url`, { url: `${url}#practice&set=${SECOND}` });
    const element = async (selector) =>
      Object.values(await call('POST', `${at}/element`, { using: 'css selector', value: selector }))[0];
    await practiceSession({
      waitFor: (f) => waitUntil(() => evaluate(f)),
      evaluate,
      fill: async (selector, text) => call('POST', `${at}/element/${await element(selector)}/value`, { text }),
      click: async (selector) => call('POST', `${at}/element/${await element(selector)}/click`, {}),
    }, SECOND);
    await call('POST', `${at}/timeouts`, { script: 600000 });
    assertClassFiles(await call('POST', `${at}/execute/async`, {
      script: `const done = arguments[arguments.length - 1]; (async () => {${classFilesScript}})().then(done);`,
      args: [],
    }));
    await call('DELETE', at);

    const start = opening + '300\n';
    assert.equal(shown.slice(0, start.length), start);
    assert.ok(shown.endsWith(closing + '\n'));
    const launches = [...shown.matchAll(/\n(\d+)\. A projectile is launched (?:from the ground at a speed of ([\d.]+) m\/s\n at an angle ([\d.]+)|horizontally from a height of ([\d.]+) m\n at a speed of ([\d.]+))/g)]
      .map(([, n, speed, angle, height, hspeed]) => speed !== undefined
        ? `${n} 1 ${hundredths(speed)} ${hundredths(angle)}`
        : `${n} 2 ${hundredths(hspeed)} ${hundredths(height)}`);
    assert.equal(launches.length, 300);
    const answers = spawnSync(answerTool, { input: launches.join('\n') + '\n' }).stdout.toString();
    assert.equal(shown, start + answers + closing + '\n');
  } finally {
    process.kill(-driver.pid);
  }
});

// RFC 4180 CSV: fields in quotes may hold commas, quotes ("") and line ends.
function csvRows(text) {
  const rows = [];
  let row = [];
  let field = '';
  let quoted = false;
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') {
        field += '"';
        i++;
      } else if (c === '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c === '"') {
      quoted = true;
    } else if (c === ',') {
      row.push(field);
      field = '';
    } else if (c === '\n') {
      row.push(field);
      rows.push(row);
      row = [];
      field = '';
    } else if (c !== '\r') {
      field += c;
    }
  }
  return rows;
}

function hundredths(printed) {
  const [whole, fraction = ''] = printed.split('.');
  return Number(whole) * 100 + Number(fraction.padEnd(2, '0'));
}

async function waitUntil(check, timeout = 60000) {
  const start = Date.now();
  while (!(await check())) {
    if (Date.now() - start > timeout) {
      throw new Error('timed out');
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}
