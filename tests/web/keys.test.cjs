// console-keys on the page: what the browser's exact key events deliver through READKEY.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { withBrowser, settle, press, screen, keypad } = require("./browser.cjs");

const context = withBrowser("?program=console-keys");

// The last line console-keys printed.
async function lastLine(page) {
  const rows = (await screen(page)).filter((row) => row !== "");
  return rows.at(-1) ?? "";
}

const ALT = 1;

test("left Alt with D is the extended key 0 32; right Alt with D types d", async () => {
  const { page } = context;
  await page.keyboard.down("AltLeft");
  await press(page, "KeyD");
  await page.keyboard.up("AltLeft");
  await settle(page);
  assert.equal(await lastLine(page), "0 32");

  await page.keyboard.down("AltRight");
  await press(page, "KeyD");
  await page.keyboard.up("AltRight");
  await settle(page);
  assert.equal(await lastLine(page), "100");
});

test("Alt held with keypad 6 and 5 gives 65 when Alt is let go", async () => {
  const { page } = context;
  await press(page, "KeyX");
  await page.keyboard.down("AltLeft");
  for (const [digit, keyCode] of [["6", 102], ["5", 101]]) {
    await keypad(page, "keyDown", digit, `Numpad${digit}`, keyCode, ALT);
    await keypad(page, "keyUp", digit, `Numpad${digit}`, keyCode, ALT);
    await settle(page);
  }
  assert.equal(await lastLine(page), "120", "nothing comes before Alt is let go");
  await page.keyboard.up("AltLeft");
  await settle(page);
  assert.equal(await lastLine(page), "65");
});

test("keypad Enter is the extended key 0 28, Enter 13", async () => {
  const { page } = context;
  await keypad(page, "keyDown", "Enter", "NumpadEnter", 13, 0);
  await keypad(page, "keyUp", "Enter", "NumpadEnter", 13, 0);
  await settle(page);
  assert.equal(await lastLine(page), "0 28");
  await press(page, "Enter");
  assert.equal(await lastLine(page), "13");
  assert.deepEqual(page.errors, []);
});
