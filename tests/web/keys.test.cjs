// console-keys on the page: what the browser's exact key events deliver through READKEY.
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const { serve, siteRoots, launch, open, settle, press, screen, keypad } = require("./browser.cjs");

let server;
let browser;
let page;
before(async () => {
  server = await serve(siteRoots());
  browser = await launch();
  page = await open(browser, server.url, "?program=console-keys");
});
after(async () => {
  await browser?.close();
  server?.close();
});

// The last line console-keys printed.
async function lastLine() {
  const rows = (await screen(page)).filter((row) => row !== "");
  return rows.at(-1) ?? "";
}

const ALT = 1;

test("left Alt with D is the extended key 0 32; right Alt with D types d", async () => {
  await page.keyboard.down("AltLeft");
  await press(page, "KeyD");
  await page.keyboard.up("AltLeft");
  await settle(page);
  assert.equal(await lastLine(), "0 32");

  await page.keyboard.down("AltRight");
  await press(page, "KeyD");
  await page.keyboard.up("AltRight");
  await settle(page);
  assert.equal(await lastLine(), "100");
});

test("Alt held with keypad 6 and 5 gives 65 when Alt is let go", async () => {
  await press(page, "KeyX");
  await page.keyboard.down("AltLeft");
  for (const [digit, keyCode] of [["6", 102], ["5", 101]]) {
    await keypad(page, "keyDown", digit, `Numpad${digit}`, keyCode, ALT);
    await keypad(page, "keyUp", digit, `Numpad${digit}`, keyCode, ALT);
    await settle(page);
  }
  assert.equal(await lastLine(), "120", "nothing comes before Alt is let go");
  await page.keyboard.up("AltLeft");
  await settle(page);
  assert.equal(await lastLine(), "65");
});

test("keypad Enter is the extended key 0 28, Enter 13", async () => {
  await keypad(page, "keyDown", "Enter", "NumpadEnter", 13, 0);
  await keypad(page, "keyUp", "Enter", "NumpadEnter", 13, 0);
  await settle(page);
  assert.equal(await lastLine(), "0 28");
  await press(page, "Enter");
  assert.equal(await lastLine(), "13");
  assert.deepEqual(page.errors, []);
});
