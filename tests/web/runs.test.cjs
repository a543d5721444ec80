// The runs side by side: each run that reaches its totals adds a row and two points, and
// they stay through new runs until cleared.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { withBrowser, open, settle } = require("./browser.cjs");

const context = withBrowser();
const key = async (page, name) => (await page.keyboard.press(name), settle(page));

// Answers Y to every question and passes every gate up to the final line, then ends it.
async function toTheEnd(page) {
  for (let said; (said = await page.$eval("#status", (s) => s.textContent)) !== "type a line and press Enter"; )
    await key(page, said.startsWith("predict") ? "y" : "Space");
  await key(page, "Enter");
}

test("three runs, from the keyboard, an array's button and a list of one's own with predictions", async () => {
  const page = await open(context.browser, context.server.url);
  await key(page, "4");
  await toTheEnd(page);
  await page.click("[data-array='1']");
  await page.waitForFunction(() => demo.waits > 1);
  await toTheEnd(await settle(page).then(() => page));
  await page.click("#predict");
  await page.type("#own-list", "3,1,2");
  await key(page, "Enter");
  await toTheEnd(page);

  const rows = await page.$$eval("#runs-table tbody tr", (found) => found.map((row) => row.innerText.split("\t")));
  assert.deepEqual(rows, [
    ["4 medium order", "10", "21", "28", "21", ""],
    ["1 ordered", "10", "0", "9", "0", ""],
    ["your own: 3 1 2", "3", "2", "3", "2", "2 of 3"],
  ]);
  const points = await page.$$eval("#runs-plot :is(circle, rect) title", (found) => found.map((title) => title.textContent));
  assert.deepEqual(points.filter((_, k) => k % 2 === 0), [
    "4 medium order, n = 10: 28 comparisons and 21 moves",
    "1 ordered, n = 10: 9 comparisons and 0 moves",
    "your own: 3 1 2, n = 3: 3 comparisons and 2 moves",
  ]);
  // The bounds are the program's: the least line ends where the ordered array's comparisons
  // stand (n = 10: 9), the most line passes through the list of one's own (n = 3: 3).
  const lines = await page.$$eval("#runs-plot polyline.bound", (found) => found.map((line) => line.getAttribute("points").split(" ")));
  const dots = await page.$$eval("#runs-plot circle.comparisons", (found) => found.map((dot) => `${dot.getAttribute("cx")},${dot.getAttribute("cy")}`));
  assert.equal(lines[0].at(-1), dots[2]);
  assert.equal(lines[1][2], dots[3]);
  await page.click("#clear-runs");
  assert.equal((await page.$$("#runs-table tbody tr")).length, 0);
});
