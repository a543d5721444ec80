// Sorting by hand on the page, on a 390-pixel phone: by keys, and by taps on the buttons and
// on the places of the step table; each action's words in the one voice; axe-core finds
// nothing at any of its screens.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { withBrowser, settle, press, axeViolations } = require("./browser.cjs");

const context = withBrowser();
const PHONE = { width: 390, height: 844, isMobile: true, hasTouch: true };

test("a practice run by keys and by taps on a phone, its words, its score, and axe-core", async () => {
  const page = await context.browser.newPage();
  await page.setViewport(PHONE);
  await page.goto(`${context.server.url}?practice&array=3,1`);
  await settle(page);
  const tap = async (selector) => (await page.tap(selector), settle(page));
  const state = () =>
    page.evaluate(() => ({
      voice: document.getElementById("voice").textContent,
      selected: document.querySelector("#step-table [aria-selected=true]")?.dataset.place,
    }));
  const clean = async (where) => assert.deepEqual(await axeViolations(page), [], where);
  const buttons = await page.$$eval("#controls [data-key]:not([hidden])", (found) => found.map((b) => [b.textContent, b.getBoundingClientRect().height]));
  assert.deepEqual(buttons.map(([text]) => text), ["Take / Put down (Down)", "Move (Left)", "Stop (Esc)"]);
  assert.ok(buttons.every(([, height]) => height >= 44), JSON.stringify(buttons));
  assert.deepEqual(await state(), { voice: "the array to sort: 3 1", selected: "1" });
  await clean("the first take");

  await press(page, "ArrowDown"); // take 3 ...
  await press(page, "Enter"); // ... and put it down
  await tap("[data-key=ArrowDown]"); // 3 is sorted already
  assert.deepEqual(await state(), { voice: "3 is in the sorted part already", selected: "1" });
  await tap("#step-table td[data-place='2']");
  assert.deepEqual(await state(), { voice: "cursor on place 2: 1", selected: "2" });
  await tap("[data-key=ArrowDown]");
  await tap(".practice[data-key=ArrowLeft]");
  assert.equal((await state()).voice, "3 moved right; 1 goes to place 1");
  await clean("a move");
  await tap("[data-key=ArrowDown]");
  const row = await page.$eval("#runs-table tbody tr", (r) => r.innerText.split("\t"));
  assert.deepEqual(row, ["your own: 3 1", "2", "1", "1", "1", "4 of 5"]);
  await clean("the totals");
});
