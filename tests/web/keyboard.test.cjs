// The page with keys alone, and as a screen reader works it: focus always leaves the
// terminal, and every array button runs its array however it is pressed.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { withBrowser, open, settle, press, screen } = require("./browser.cjs");

const context = withBrowser();
const key = async (page, name, shift) => {
  if (shift) await page.keyboard.down("Shift");
  await press(page, name);
  if (shift) await page.keyboard.up("Shift");
};
const focused = (page) => page.evaluate(() => document.activeElement.textContent || document.activeElement.ariaLabel);
const TERMINAL = "Terminal: the program's keys go here";

// Does what a screen reader does to the element that the accessibility tree names NAME:
// ACTION "focus", or "click", its default action, which comes with no key and no pointer.
async function accessibly(page, name, action) {
  const session = await page.createCDPSession();
  const { root } = await session.send("DOM.getDocument");
  const { nodes } = await session.send("Accessibility.queryAXTree", { backendNodeId: root.backendNodeId, accessibleName: name });
  const { object } = await session.send("DOM.resolveNode", { backendNodeId: nodes[0].backendDOMNodeId });
  await session.send("Runtime.callFunctionOn", { objectId: object.objectId, functionDeclaration: `function () { this.${action}(); }` });
  await session.detach();
}

test("Tab and Shift+Tab leave the terminal at the menu, at a step and after the final line", async () => {
  const page = await open(context.browser, context.server.url, "?array=3,1");
  await accessibly(page, TERMINAL, "focus");
  await key(page, "Space");
  assert.equal((await screen(page))[0], "   3   1i = 1", "a key reached the program");
  for (const keys of [[], [..."      ", "Enter"]]) {
    for (const name of keys) await key(page, name === " " ? "Space" : name);
    await key(page, "Tab");
    assert.equal(await focused(page), "Back (Left)");
    await key(page, "Tab", true);
    assert.equal(await focused(page), TERMINAL);
    await key(page, "Tab", true);
    assert.equal(await focused(page), "Русский");
    await key(page, "Tab");
  }
  assert.equal(await page.evaluate(() => demo.exitStatus), 0);
});

test("each array button runs its array, clicked, with Enter or Space, or by a screen reader", async () => {
  const page = await open(context.browser, context.server.url);
  for (const way of ["click", "Enter", "Space", "accessibly"])
    for (const [array, name, first] of [["2", "2 in reverse order", "   9"], ["4", "4 medium order", "  44"]]) {
      const button = `[data-array='${array}']`;
      if (way === "click") await page.click(button);
      else if (way === "accessibly") await accessibly(page, name, "click");
      else await page.focus(button).then(() => page.keyboard.press(way));
      await page.waitForFunction(() => demo.waits > 1).then(() => settle(page));
      assert.equal((await screen(page))[5].slice(0, 4), first, `${name}, ${way}`);
    }
  await key(page, "Space");
  assert.match((await screen(page))[6], /current selection/, "the keys are the program's after a screen reader's press");
});
