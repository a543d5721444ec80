// A WebAssembly trap ends the run with the run-time error report, as a processor fault
// does on the other platforms; so does a failed write.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { withBrowser, open, press, screen, siteRoots } = require("./browser.cjs");

// A program whose code is missing (lost.js without lost.wasm) and one whose code is no
// WebAssembly (garbled.wasm).
const broken = fs.mkdtempSync(path.join(os.tmpdir(), "broken-programs-"));
for (const name of ["lost", "garbled"])
  fs.copyFileSync(path.join(siteRoots()[0], "insertion-sort-demo.js"), path.join(broken, `${name}.js`));
fs.writeFileSync(path.join(broken, "garbled.wasm"), "<!doctype html>\n");
const context = withBrowser(undefined, [broken]);

const CASES = [
  ["segv", 216, "out-of-bounds memory access"],
  ["fpe", 200, "integer division by zero"],
  ["ill", 217, "unreachable code"],
  ["abort", 217, "abort"],
  ["ioerror", 103, "a write to a closed file"],
];

for (const [mode, code, what] of CASES) {
  test(`${what} ends the run with run-time error ${code}`, async () => {
    const page = await open(context.browser, context.server.url, `?program=fault-sample&arg=${mode}`);
    assert.equal((await screen(page))[0], "armed");
    await press(page, "Space");
    assert.equal(await page.evaluate(() => demo.exitStatus), code);
    const rows = await screen(page);
    const report = rows.findIndex((row) => row.startsWith("Runtime error"));
    // WebAssembly's code addresses have 32 bits.
    assert.match(rows[report] ?? "", new RegExp(`^Runtime error ${code} at \\$[0-9A-F]{8}$`), rows.join("\n"));
    assert.match(rows[report + 1], /^ {2}\$[0-9A-F]{8}$/, "the back-trace starts at the fault");
    assert.equal(await page.$eval("#status", (line) => line.textContent), `ended with status ${code}`);
    assert.deepEqual(page.errors, []);
  });
}

// A program that cannot run is no fault of a program: the page says so, gives the keyboard
// back (Tab moves on) and links to the demonstration.
for (const [query, said] of [
  ["?program=nope", "The program nope.js could not be loaded."],
  ["?program=page", "page.js is not a program of this page."],
  ["?program=lost", "The program's code, lost.wasm, could not be loaded."],
  ["?program=garbled", "garbled.wasm is not a program's code."],
]) {
  test(`${query}: the page says the program cannot run and lets the keyboard go`, async () => {
    const page = await context.browser.newPage();
    await page.goto(context.server.url + query);
    await page.waitForFunction(() => document.querySelector("#status a") !== null);
    assert.equal(await page.$eval("#status", (line) => line.firstChild.textContent.trim()), said);
    assert.equal(await page.$eval("#status a", (link) => link.getAttribute("href")), "?");
    assert.equal(await page.evaluate(() => demo.exitStatus), null, "no run-time error");
    await page.keyboard.press("Tab");
    assert.equal(await page.evaluate(() => document.activeElement.tagName), "A", "Tab moves on");
  });
}

test("opened as a file, the page says to serve it over HTTP", async () => {
  const page = await context.browser.newPage();
  await page.goto(`file://${siteRoots()[0]}/index.html`);
  await page.waitForFunction(() => document.getElementById("status").textContent.includes("HTTP"));
  assert.match(await page.$eval("#status", (line) => line.textContent), /python3 -m http\.server/);
  assert.equal(await page.$eval("#run", (button) => button.disabled), true);
});
