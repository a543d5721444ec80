// The demonstration on the page, where only the page differs from the other platforms: the
// bytes of a whole run, the frame's pixels, running again, and the site served plainly.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const { PNG } = require("pngjs");
const { servePython, siteRoots, withBrowser, open, settle, press, type, screen } = require("./browser.cjs");

const context = withBrowser();

// The screens of a whole run are the cases' (tests/cases/platform.cases); here, that they
// are the terminal build's to the byte.
test("a whole run of data set 4 sends the page the very bytes the terminal build writes", async (t) => {
  const reference = process.env.POSIX_DEMO;
  if (!reference || !fs.existsSync(reference)) {
    t.skip("no terminal build to compare with");
    return;
  }
  const page = await open(context.browser, context.server.url);
  await press(page, "4");
  for (let gate = 0; gate < 70; gate++) await press(page, "Space");
  await type(page, "ab");
  await press(page, "Backspace");
  await type(page, "c");
  await press(page, "Enter");
  assert.equal(await page.evaluate(() => demo.exitStatus), 0);
  assert.equal(await page.$eval("#status", (line) => line.textContent), "finished");
  const keys = "4" + " ".repeat(70) + "ab\x7fc\n";
  const run = spawnSync(reference, [], { input: keys });
  assert.equal(run.status, 0);
  const written = await page.evaluate(() => demo.output.flatMap((chunk) => Array.from(chunk)));
  assert.ok(Buffer.from(written).equals(run.stdout), "the bytes differ from the terminal build's");
  assert.deepEqual(page.errors, []);
});

test("a comparison frame on the screen: the colours show, the hidden cells are empty", async () => {
  const page = await open(context.browser, context.server.url);
  await press(page, "4");
  for (let i = 0; i < 7; i++) await press(page, "Space");
  const rows = await screen(page);
  const first = rows.findIndex((row) => row.includes("comparison"));
  const last = rows.findLastIndex((row) => row.includes("comparison"));
  assert.ok(first >= 0 && last > first, rows.join("\n"));

  // On the screen: the concealed cells are empty, the colours are there.
  const element = await page.$(".xterm-screen");
  const box = await element.boundingBox();
  const picture = PNG.sync.read(await element.screenshot());
  const width = picture.width / 80;
  const height = picture.height / 25;
  const pixels = (x, y) => {
    const found = [];
    for (let py = Math.ceil(y * height); py < Math.floor((y + 1) * height); py++)
      for (let px = Math.ceil(x * width); px < Math.floor((x + 1) * width); px++) {
        const at = (py * picture.width + px) * 4;
        found.push(picture.data.slice(at, at + 3));
      }
    return found;
  };
  const near = (colour) => (pixel) => pixel.every((value, i) => Math.abs(value - colour[i]) <= 12);
  assert.ok(box.width > 0 && box.height > 0);
  for (const x of [2, 3, 6, 7, 14, 15])
    assert.ok(pixels(x, last + 1).every(near([0, 0, 0])), `the hidden cell ${x} shows something`);
  for (const x of [10, 11]) assert.ok(pixels(x, last).every(near([0, 0, 0])), "the gap shows something");
  assert.ok(pixels(6, last).some(near([0xff, 0x55, 0x55])), "55 is not light red on the screen");
  assert.ok(pixels(10, last + 1).some(near([0xff, 0x55, 0x55])), "12 is not light red on the screen");
  assert.ok(pixels(2, first).some(near([0x55, 0xff, 0x55])), "44 is not light green on the screen");
  assert.ok(pixels(2, last).some(near([0xaa, 0xaa, 0xaa])), "44 is not light grey on the screen");
});

test("after Esc the page runs the program again", async () => {
  const page = await open(context.browser, context.server.url);
  await press(page, "4");
  await press(page, "Escape");
  assert.equal(await page.$eval("#status", (line) => line.textContent), "stopped with Esc");

  // Keys are the page's own again, and the button starts a new run at the top left.
  assert.equal(await page.$eval("#run", (button) => button.disabled), false);
  await page.click("#run");
  await settle(page);
  assert.equal(await page.evaluate(() => demo.exitStatus), null);
  const rows = await screen(page);
  assert.equal(rows[0], "выбор массива");
  assert.equal(rows[5], "");
});

test("the site runs from python3 -m http.server, with nothing said on the console", async () => {
  const python = await servePython(siteRoots()[0]);
  try {
    const page = await open(context.browser, python.url);
    assert.equal((await screen(page))[0], "выбор массива");
    await press(page, "4");
    assert.equal((await screen(page))[5], "  44  55  12  42  94  18   6  67  38  78");
    assert.deepEqual([...page.errors, ...page.complaints], []);
  } finally {
    python.close();
  }
});

// The address carries the run: the program's options, and a link that repeats it.
for (const [query, row, link] of [
  ["?array=5,3,8,1", "   5   3   8   1", /\?array=5,3,8,1$/],
  ["?random&seed=7", "  15  92  21  86  83  47  87  79  88  61", /\?random&seed=7$/],
  ["?random", /^(  [ \d]\d){10}$/, /\?random&seed=\d+$/],
]) {
  test(`${query} runs that choice, and the page links to the run`, async () => {
    const page = await open(context.browser, context.server.url, query);
    const first = (await screen(page))[0];
    if (typeof row === "string") assert.equal(first, row);
    else assert.match(first, row);
    assert.match(await page.$eval("#run-link", (a) => a.href), link);
    assert.deepEqual(page.errors, []);
  });
}

test("&auto=0.05 plays the steps by itself up to the final line", async () => {
  const page = await open(context.browser, context.server.url, "?array=3,2,1&auto=0.05");
  await page.waitForFunction(
    () => {
      const buffer = window.demo.term.buffer.active;
      for (let y = 0; y < window.demo.term.rows; y++)
        if (buffer.getLine(buffer.viewportY + y).translateToString(true).startsWith("Total movings"))
          return true;
      return false;
    },
    { timeout: 60_000 },
  );
  await settle(page);
  const rows = await screen(page);
  assert.ok(rows.includes("Total movings: 3"), rows.join("\n"));
  assert.equal(await page.evaluate(() => demo.exitStatus), null, "the final line still waits");
});

// The page's own controls type through the same path as the keyboard, and the status says
// in plain words what the program waits for.
test("the buttons choose, step and stop; the status says what comes next", async () => {
  const page = await open(context.browser, context.server.url);
  const status = () => page.$eval("#status", (line) => line.textContent);
  assert.equal(await status(), "choose an array");
  await page.click("[data-array='4']");
  await page.waitForFunction(() => document.getElementById("status").textContent.startsWith("press Space"));
  await settle(page);
  assert.equal((await screen(page))[5], "  44  55  12  42  94  18   6  67  38  78");
  await page.click("[data-key='Space']");
  await settle(page);
  assert.equal((await screen(page))[5], "  44  55  12  42  94  18   6  67  38  78i = 1");
  await page.click("[data-key='Escape']");
  await settle(page);
  assert.equal(await status(), "stopped with Esc");
});

// Learning on the page: Back, the step said in words, the line of the code marked, and
// predictions by the buttons, all as the program tells them.
test("Back shows the frame before; the step is said and its line of code marked; Predict asks", async () => {
  const page = await open(context.browser, context.server.url);
  const learnt = () => page.$$eval("#voice, #code [aria-current]", (found) => found.map((e) => e.textContent));
  const look = async () => (await screen(page)).map((row) => row.trimEnd());
  const click = async (selector, times = 1) => {
    for (let n = 0; n < times; n++) await page.click(selector).then(() => settle(page));
  };
  await click("[data-array='4']");
  await click("[data-key='Space']", 6);
  const select = await look();
  await click("[data-key='Space']");
  assert.deepEqual(await learnt(), ["12 < 55: 55 moves one place right", "while j > 0 and a[j] > x do"]);
  await click("[data-key='ArrowLeft']");
  assert.deepEqual(await look(), select);
  assert.deepEqual(await learnt(), ["take up 12 to put it in order", "x := a[i]; j := i - 1"]);
  await click("[data-key='Space']", 2);
  assert.deepEqual(await learnt(), ["55 moved right; the gap is now at 2", "a[j+1] := a[j]; j := j - 1"]);

  await page.goto(`${context.server.url}?array=2,1`);
  await settle(page);
  await page.click("#predict");
  await page.waitForFunction(() => !document.querySelector(".answer").hidden && demo.waits > 0);
  await click("[data-key='Space']", 4);
  assert.deepEqual(await learnt(), ["does 2 move right? (y/n)", "while j > 0 and a[j] > x do"]);
  await click("[data-key='KeyY']");
  assert.equal((await learnt())[0], "right, 1 < 2: 2 moves one place right");
  await click("[data-key='Space']", 3);
  assert.equal((await learnt())[0], "sorted with 1 comparison and 1 move; predictions right: 1 of 1");
});

test("during auto-play the step is said at most once in three seconds, the latest at last", async () => {
  const page = await context.browser.newPage();
  await page.evaluateOnNewDocument(() => {
    window.said = [];
    addEventListener("DOMContentLoaded", () =>
      new MutationObserver(() => said.push([performance.now(), document.getElementById("voice").textContent]))
        .observe(document.getElementById("voice"), { childList: true, characterData: true, subtree: true }));
  });
  await page.goto(`${context.server.url}?array=3,2,1&auto=0.05`);
  await page.waitForFunction(() => said.at(-1)?.[1].startsWith("sorted"), { timeout: 60_000 });
  const said = await page.evaluate(() => said);
  for (let n = 1; n < said.length; n++) assert.ok(said[n][0] - said[n - 1][0] >= 2990, JSON.stringify(said));
});
