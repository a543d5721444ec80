// The page as a person uses it: a click or a tap on the terminal and then keys, the page's
// own fields typed into, and its words for a list or an address it will not run.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const { pathToFileURL } = require("node:url");
const { caseLines, withBrowser, open, settle, screen } = require("./browser.cjs");

const context = withBrowser();
const focused = (page) => page.evaluate(() => document.activeElement.id || document.activeElement.textContent);
const key = async (page, name) => (await page.keyboard.press(name), settle(page));

for (const [device, viewport] of [
  ["a mouse on a desktop", { width: 1280, height: 800 }],
  ["a finger on a phone", { width: 844, height: 390, isMobile: true, hasTouch: true }],
]) {
  test(`with ${device}: the terminal touched, every key is the program's; F6 and the fields keep theirs`, async () => {
    const page = await open(context.browser, context.server.url);
    await page.setViewport(viewport);
    const touchTerminal = async () => {
      const box = await (await page.$("#terminal")).boundingBox();
      const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
      await (viewport.hasTouch ? page.touchscreen.tap(x, y) : page.mouse.click(x, y));
    };
    await touchTerminal();
    await key(page, "4");
    await key(page, "Space");
    assert.equal((await screen(page))[5], "  44  55  12  42  94  18   6  67  38  78i = 1");
    // F6: Tab moves through the controls, a field keeps what is typed; the terminal
    // touched again takes the keyboard back.
    await page.keyboard.press("F6");
    assert.equal(await focused(page), "Next (Space)");
    await page.keyboard.press("Tab");
    assert.equal(await focused(page), "Stop (Esc)");
    await page.focus("#own-list");
    await page.keyboard.type("3 1");
    assert.equal(await page.$eval("#own-list", (field) => field.value), "3 1");
    await touchTerminal();
    await key(page, "Space");
    assert.equal((await screen(page))[6], "      55  12  42  94  18   6  67  38  78        current selection");
  });
}

// Every list that the arrays' cases refuse is refused beside the field, in the words that
// the page's rules give it (their own test holds them to the cases); the last list is run.
async function lists() {
  const { listProblem } = await import(pathToFileURL(path.join(__dirname, "..", "..", "web", "address.js")));
  const refused = caseLines(path.join(__dirname, "..", "cases", "arrays.cases"))
    .map(([, , [list]]) => [list, listProblem(list)])
    .filter(([, said]) => said);
  return [...refused, ["-99, 999", ""]];
}

test("a wrong list of your own is refused beside its field; the address and link stay", async () => {
  const page = await open(context.browser, context.server.url, "?array=2,1");
  const state = () => page.evaluate(() => [location.search, document.getElementById("run-link").href]);
  const before = await state();
  for (const [list, said] of await lists()) {
    await page.click("#own-list", { clickCount: 3 });
    await page.keyboard.press("Backspace");
    await page.keyboard.type(list);
    await page.keyboard.press("Enter");
    assert.equal(await page.$eval("#own-problem", (line) => line.textContent), said, list);
    assert.equal(await page.$eval("#own-list", (field) => field.value), list, "the field keeps it");
    if (said) assert.deepEqual(await state(), before);
  }
  await page.waitForFunction(() => demo.output.length > 0);
  await key(page, "Space");
  assert.equal((await screen(page))[0], " -99 999i = 1", "the keyboard is the program's");
});

test("an address with a wrong array, seed or speed says so and offers the menu", async () => {
  const page = await context.browser.newPage();
  for (const [query, said] of [
    ["?array=5,x", "The array in this address: x is not a whole number."],
    ["?random&seed=-1", "The seed in this address: -1 is not a seed: that is a whole number from 0 to 4294967295."],
    ["?auto=20", "The speed in this address: 20 is not a number of seconds from 0.05 to 10."],
  ]) {
    await page.goto(context.server.url + query);
    await page.waitForFunction(() => document.querySelector("#status a") !== null);
    assert.equal(await page.$eval("#status", (line) => line.firstChild.textContent.trim()), said);
    assert.equal((await screen(page)).join(""), "", "nothing runs");
  }
  await Promise.all([page.waitForNavigation(), page.click("#status a")]);
  await settle(page);
  assert.equal((await screen(page))[0], "выбор массива");
});
