// A WebAssembly trap ends the run with the run-time error report, as a processor fault
// does on the other platforms; so does a failed write.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { withBrowser, open, press, screen } = require("./browser.cjs");

const context = withBrowser();

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
