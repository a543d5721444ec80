// The demonstration on the page: a whole run, the comparison frame's cells and pixels, Esc
// and running again.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const { PNG } = require("pngjs");
const { servePython, siteRoots, withBrowser, open, settle, press, type, screen, cell } = require("./browser.cjs");

const context = withBrowser();

const LIGHT_RED = 9;
const LIGHT_GREEN = 10;

test("a whole run of data set 4 draws what the terminal build draws, and ends with status 0", async () => {
  const page = await open(context.browser, context.server.url);
  await press(page, "4");
  let gates = 0;
  while (!(await screen(page)).some((row) => row.startsWith("Total movings"))) {
    await press(page, "Space");
    assert.ok(++gates <= 100, "the totals never came");
  }
  assert.equal(gates, 70);
  const rows = await screen(page);
  assert.ok(rows.some((row) => row.endsWith("Total comparisons: 28")), rows.join("\n"));
  assert.ok(rows.includes("Total movings: 21"), rows.join("\n"));

  // The final line, typed and edited.
  await type(page, "ab");
  await press(page, "Backspace");
  await type(page, "c");
  assert.equal((await screen(page)).at(-1), "ac");
  await press(page, "Enter");
  assert.equal(await page.evaluate(() => demo.exitStatus), 0);
  assert.equal(await page.$eval("#status", (line) => line.textContent), "ended with status 0");
  assert.deepEqual(page.errors, []);

  // Every screen of the run is the terminal build's: the page's terminal got the very bytes
  // that the POSIX build writes for the same keys, wait by wait.
  const reference = process.env.POSIX_DEMO;
  if (reference && fs.existsSync(reference)) {
    const keys = "4" + " ".repeat(70) + "ab\x7fc\n";
    const run = spawnSync(reference, [], { input: keys });
    assert.equal(run.status, 0);
    const written = await page.evaluate(() => demo.output.flatMap((chunk) => Array.from(chunk)));
    assert.ok(Buffer.from(written).equals(run.stdout), "the bytes differ from the terminal build's");
  }
});

// The cells of row Y from column X on, COUNT of them.
async function cells(page, x, y, count) {
  const found = [];
  for (let i = 0; i < count; i++) found.push(await cell(page, x + i, y));
  return found;
}

test("a comparison frame: its colours in the terminal's cells and on the screen", async () => {
  const page = await open(context.browser, context.server.url);
  await press(page, "4");
  for (let i = 0; i < 7; i++) await press(page, "Space");
  const rows = await screen(page);
  const first = rows.findIndex((row) => row.includes("comparison"));
  const last = rows.findLastIndex((row) => row.includes("comparison"));
  assert.ok(first >= 0 && last > first, rows.join("\n"));

  // 12 is being inserted: compared with 55, larger, both light red; 44 as it stands; the
  // gap where 12 was taken up black and concealed; below, only 12 shows.
  const [, , f44a, f44b, , , f55a, f55b, , , gapA, gapB] = await cells(page, 0, last, 12);
  assert.deepEqual([f44a.text + f44b.text, f44a.foreground], ["44", -1]);
  assert.deepEqual([f55a.text + f55b.text, f55a.foreground, f55b.foreground], ["55", LIGHT_RED, LIGHT_RED]);
  assert.ok(gapA.concealed && gapB.concealed && gapA.foreground === 0);
  const below = await cells(page, 0, last + 1, 12);
  assert.deepEqual([below[10].text + below[11].text, below[10].foreground], ["12", LIGHT_RED]);
  assert.ok(below[2].concealed && below[6].concealed, "the lower row hides all but 12");
  // The first comparison: 55 against 44, not larger, light green.
  assert.equal((await cell(page, 2, first)).foreground, LIGHT_GREEN);

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

test("Esc at a step gate breaks the program with status 100; the page runs it again", async () => {
  const page = await open(context.browser, context.server.url);
  await press(page, "4");
  await press(page, "Space");
  await press(page, "Escape");
  assert.equal(await page.evaluate(() => demo.exitStatus), 100);
  assert.equal((await screen(page))[23], "breaking program");
  assert.equal(await page.$eval("#status", (line) => line.textContent), "ended with status 100");

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
