// The behaviour cases of every platform (tests/cases/platform.cases) on the page: the
// programs in headless Chromium, keys as real key events, cells read from xterm.js.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const { caseLines, withBrowser, open, settle, press, keypad, key, look } = require("./browser.cjs");

const context = withBrowser();
const ALT = 1;

// The cases of the file, its lines checked against its grammar line as every driver does.
function readCases(file) {
  const cases = [];
  const grammar = {}; // verb: the least and the most words after it
  const problems = [];
  for (const [number, line, [verb, ...args]] of caseLines(file)) {
    const [rule, where] = [grammar[verb], `platform.cases:${number}: `];
    if (verb === "grammar")
      for (let i = 0; i + 1 < args.length; i += 2) {
        const [least, most] = args[i + 1].split("-").map((n) => (n === "" ? Infinity : Number(n))); // "N", "N-M", "N-"
        grammar[args[i]] = [least, most ?? least];
      }
    else if (!rule) problems.push(`${where}no such step: ${verb}`);
    else if (args.length < rule[0] || args.length > rule[1]) problems.push(`${where}${verb} with ${args.length} words`);
    else if (verb === "case") cases.push({ name: line.slice(5), steps: [] });
    else if (cases.length === 0) problems.push(`${where}a step before the first case`);
    else if (verb === "program") Object.assign(cases.at(-1), { program: args[0], args: args.slice(1) });
    else if (verb === "language") cases.at(-1).language = args[0];
    else cases.at(-1).steps.push({ line: number, verb, args });
  }
  assert.deepEqual(problems, [], "the case table");
  return cases;
}

// Each key of the cases as the browser's events.
const KEYS = {
  Space: (page) => page.keyboard.press("Space"),
  Enter: (page) => page.keyboard.press("Enter"),
  Esc: (page) => page.keyboard.press("Escape"),
  Backspace: (page) => page.keyboard.press("Backspace"),
  Up: (page) => page.keyboard.press("ArrowUp"),
  Down: (page) => page.keyboard.press("ArrowDown"),
  Left: (page) => page.keyboard.press("ArrowLeft"),
  Right: (page) => page.keyboard.press("ArrowRight"),
  KeypadEnter: async (page) => {
    await keypad(page, "keyDown", "Enter", "NumpadEnter", 13, 0);
    await keypad(page, "keyUp", "Enter", "NumpadEnter", 13, 0);
  },
  KeypadSlash: async (page) => {
    await keypad(page, "keyDown", "/", "NumpadDivide", 111, 0);
    await keypad(page, "keyUp", "/", "NumpadDivide", 111, 0);
  },
  "LeftAlt+D": async (page) => {
    await page.keyboard.down("AltLeft");
    await page.keyboard.press("KeyD");
    await page.keyboard.up("AltLeft");
  },
  "RightAlt+D": async (page) => {
    await page.keyboard.down("AltRight");
    await page.keyboard.press("KeyD");
    await page.keyboard.up("AltRight");
  },
  "Alt+Keypad65": async (page) => {
    await page.keyboard.down("AltLeft");
    for (const [digit, keyCode] of [["6", 102], ["5", 101]]) {
      await keypad(page, "keyDown", digit, `Numpad${digit}`, keyCode, ALT);
      await keypad(page, "keyUp", digit, `Numpad${digit}`, keyCode, ALT);
    }
    await page.keyboard.up("AltLeft");
  },
  RussianL: async (page) => {
    await key(page, "keyDown", "д", "KeyL", 76);
    await key(page, "keyUp", "д", "KeyL", 76);
  },
  RussianY: async (page) => {
    await key(page, "keyDown", "н", "KeyY", 89);
    await key(page, "keyUp", "н", "KeyY", 89);
  },
  RussianP: async (page) => {
    await key(page, "keyDown", "з", "KeyP", 80);
    await key(page, "keyUp", "з", "KeyP", 80);
  },
};

async function type(page, name) {
  const typeKey = KEYS[name] ?? (/^[a-zA-Z0-9]$/.test(name) ? (p) => p.keyboard.press(name) : null);
  assert.ok(typeKey, `no such key: ${name}`);
  await typeKey(page);
  await settle(page);
}

const rowOf = (word, screen) => (word.startsWith("c-") ? screen.cursor[0] - Number(word.slice(2)) : Number(word));

// The whole screen, a row a line: its text, then each cell's colour (as the C++ drivers).
const picture = (screen) =>
  screen.rows.map((row, y) => `${row} |${screen.colours[y].map((c) => ({ grey: "g", hidden: "h" })[c] ?? `[${c}]`).join("")}`);

async function runCase(page, steps) {
  const kept = new Map();
  for (const { line, verb, args } of steps) {
    const where = `platform.cases:${line}`;
    if (verb === "press") {
      const times = args[1] ? Number(args[1].slice(1)) : 1;
      for (let n = 0; n < times; n++) await type(page, args[0]);
    } else if (verb === "type") {
      for (const ch of args[0]) await type(page, ch);
    } else if (verb === "end") {
      await type(page, args[0]);
      assert.equal(await page.evaluate(() => demo.exitStatus), Number(args[1]), where);
    } else {
      const screen = await look(page);
      if (verb === "row") assert.equal(screen.rows[rowOf(args[0], screen) - 1], args[1], where);
      else if (verb === "colour")
        assert.equal(screen.colours[rowOf(args[0], screen) - 1][Number(args[1]) - 1], args[2], where);
      else if (verb === "keep") kept.set(args[0], picture(screen));
      else if (verb === "same") assert.deepEqual(picture(screen), kept.get(args[0]), where);
      else if (verb === "cursor") assert.deepEqual(screen.cursor, [Number(args[0]), Number(args[1])], where);
      else assert.fail(`${where}: a step this driver does not take: ${verb}`);
    }
  }
}

for (const c of readCases(path.join(__dirname, "..", "cases", "platform.cases"))) {
  test(c.name, async () => {
    const query = [`program=${c.program}`, ...c.args.map((arg) => `arg=${encodeURIComponent(arg)}`)];
    if (c.language) query.push(`lang=${c.language}`);
    const page = await open(context.browser, context.server.url, `?${query.join("&")}`);
    await runCase(page, c.steps);
    assert.deepEqual(page.errors, []);
  });
}
