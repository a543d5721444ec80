// The step in three forms: the frame on the terminal, the table beside it, and the page's
// one voice; on a phone, for a screen reader, and through axe-core.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { withBrowser, open, settle, look, axeViolations } = require("./browser.cjs");

const context = withBrowser();
const click = async (page, selector) => (await page.click(selector), settle(page));
const key = async (page, name) => (await page.keyboard.press(name), settle(page));
const caption = (page) => page.$eval("#step-table caption", (c) => c.textContent);
const status = (page) => page.$eval("#status", (s) => s.textContent);

// Fails unless the table's rows show what the frame's rows show (the printout's one row):
// each place's number, hidden or in its colour.
async function sameAsFrame(page, where) {
  const screen = await look(page);
  const table = await page.$$eval("#step-table tbody tr", (rows) =>
    rows.map((row) => [...row.querySelectorAll("td")].map((td) => {
      const text = td.querySelector(".value")?.textContent ?? "";
      return [text, !text ? "hidden" : td.matches(".larger") ? "lightred" : td.matches(".notlarger") ? "lightgreen" : "grey"];
    })),
  );
  // A frame ends with the cursor below it, a printout with the cursor after it; the
  // totals follow the last printout on its row.
  const [row, column] = screen.cursor;
  const top = table.length === 2 ? row - 3 : column > 1 ? row - 1 : screen.rows.findLastIndex((r) => r.includes("Total comparisons"));
  const frame = table.map((cells, m) => cells.map((_, k) => {
    const text = screen.rows[top + m].slice(4 * k, 4 * k + 4).trim();
    return [text, text ? screen.colours[top + m][4 * k + 3] : "hidden"];
  }));
  assert.deepEqual(table, frame, `${where}: ${await caption(page)}`);
}

// Checks every gate up to the final line, passing each with NEXT(page, gate); the gates' number.
async function everyGate(page, next = (p) => key(p, "Space")) {
  for (let gate = 0; ; gate++) {
    await sameAsFrame(page, `gate ${gate}`);
    if ((await status(page)) === "type a line and press Enter") return gate;
    await next(page, gate);
  }
}

test("at every gate the table shows what the frame shows, back and forth, with a question held back", async () => {
  const page = await open(context.browser, context.server.url);
  await key(page, "4");
  const gates = await everyGate(page, async (p, gate) => {
    // Three steps back at the 20th gate, and forth to it again.
    if (gate === 20)
      for (const name of ["ArrowLeft", "ArrowLeft", "ArrowLeft", "ArrowRight", "Space", "Space"])
        await key(p, name).then(() => sameAsFrame(p, `gate ${gate}, ${name}`));
    await key(p, "Space");
  });
  assert.deepEqual([gates, await caption(page)], [70, "sorted with 28 comparisons and 21 moves"]);

  await page.goto(`${context.server.url}?array=3,-5,3,0,-99`);
  await everyGate(await settle(page).then(() => page));

  await page.goto(`${context.server.url}?array=2,3,1&predict`);
  await settle(page);
  let asked = 0;
  await everyGate(page, async (p) => {
    if (!(await status(p)).startsWith("predict")) return key(p, "Space");
    assert.equal((await p.$$("#step-table .larger, #step-table .notlarger")).length, 0, "held back");
    await key(p, ++asked % 2 ? "n" : "y");
  });
  assert.deepEqual([asked, await caption(page)], [3, "sorted with 3 comparisons and 2 moves; predictions right: 2 of 3"]);
});

test("one voice says each step once, politely, and where the run stands; tones only once Sound is on", async () => {
  const page = await context.browser.newPage();
  // Every text that comes into a live region, whatever happens to it after; every tone.
  await page.evaluateOnNewDocument(() => {
    window.heard = [];
    window.tones = [];
    new MutationObserver((changes) => {
      for (const change of changes) {
        const node = change.target.nodeType === 1 ? change.target : change.target.parentElement;
        const region = node.closest("[aria-live], [role=status], [role=alert], [role=log], output");
        const text = change.type === "characterData" ? change.target.data : [...change.addedNodes].map((n) => n.textContent).join("");
        const loud = region?.getAttribute("aria-live") === "assertive" || region?.getAttribute("role") === "alert";
        if (region && region.getAttribute("aria-live") !== "off" && text) heard.push([region.id, loud ? "assertive" : "polite", text]);
      }
    }).observe(document, { subtree: true, childList: true, characterData: true });
    window.OscillatorNode = class extends OscillatorNode {
      constructor(audio, options) {
        super(audio, options);
        tones.push([options.type, options.frequency]);
      }
    };
  });
  await page.goto(context.server.url);
  await settle(page);
  const said = ["choose an array: 1 to 4"];
  await click(page, "#terminal");
  for (const name of ["4", ...Array(7).fill("Space")]) said.push((await key(page, name), await caption(page)));
  assert.equal((await page.$$("[aria-live=assertive], [role=alert]")).length, 0);
  await click(page, "#where");
  said.push("i = 3: 44 55, gap, 42 94 18 6 67 38 78; 12 is being inserted, compared with 55, which is larger");
  assert.equal(await page.$eval("#where-said", (w) => w.textContent), said.at(-1));
  // The rows on request, as a list, still silent; sound on for a move of 55 and 12 compared with 44.
  await click(page, "#rows");
  assert.ok((await page.$$(".xterm-accessibility-tree > div")).length >= 25);
  assert.deepEqual(await page.evaluate(() => tones), []);
  await click(page, "#sound");
  for (const name of ["Space", "Space"]) said.push((await key(page, name), await caption(page)));
  const tones = await page.evaluate(() => tones);
  assert.ok(tones[0][0] === "triangle" && tones[1][0] === "sine" && tones[0][1] > tones[1][1], JSON.stringify(tones));
  await click(page, "[data-array='2']");
  said.push(await caption(page));
  for (let step = 0; step < 4; step++) said.push((await key(page, "Space"), await caption(page)));
  assert.deepEqual(await page.evaluate(() => heard), said.map((sentence) => ["voice", "polite", sentence]));
});

const PHONES = [{ width: 390, height: 844 }, { width: 360, height: 640 }].map((size) => ({ ...size, isMobile: true, hasTouch: true }));

test("axe-core finds nothing at the menu, a question, a comparison and the totals; a phone's table is readable and within its width", async () => {
  for (const viewport of [{ width: 1400, height: 900 }, ...PHONES]) {
    const page = await context.browser.newPage();
    await page.setViewport(viewport);
    const check = async (state) => {
      assert.deepEqual(await axeViolations(page), [], `${state} at ${viewport.width} px`);
    };
    const visit = async (query, keys) => {
      await page.goto(context.server.url + query);
      await settle(page);
      for (const name of keys) await key(page, name);
    };
    await visit("", []);
    await check("the menu");
    // A question of ten numbers as wide as any.
    await visit(`?array=${"-99,".repeat(9)}-98&predict`, Array(4).fill("Space"));
    await check("a question");
    const seen = await page.evaluate(() => ({
      scroll: document.documentElement.scrollWidth,
      width: document.documentElement.clientWidth,
      right: Math.max(...["#step-table", "#terminal .xterm-screen"].map((s) => document.querySelector(s).getBoundingClientRect().right)),
      numbers: Math.min(...[...document.querySelectorAll("#step-table .value")].map((v) => parseFloat(getComputedStyle(v).fontSize))),
      buttons: [...document.querySelectorAll("[data-key]:not([hidden])")].map((b) => [b.dataset.key, b.getBoundingClientRect().height]),
    }));
    assert.ok(seen.scroll <= seen.width && seen.right <= seen.width && seen.numbers >= 16, JSON.stringify(seen));
    for (const name of ["ArrowLeft", "Space", "KeyY", "KeyN"])
      assert.ok(seen.buttons.some(([key, height]) => key === name && height >= 44), `${name}: ${JSON.stringify(seen.buttons)}`);
    await key(page, "y");
    await check("a comparison");
    await visit("?array=2,1", Array(7).fill("Space"));
    await check("the totals");
  }
});

test("?lang=ru: the page, its table and its voice in Russian, within a 360-pixel phone", async () => {
  const page = await context.browser.newPage();
  await page.setViewport(PHONES[1]);
  await page.goto(`${context.server.url}?lang=ru&array=44,55,12&predict`);
  await settle(page);
  // 44 is not larger than 55: no; 55 is larger than 12: yes.
  for (const name of ["Space", "Space", "Space", "Space", "n", "Space", "Space", "Space", "y"]) await key(page, name);
  const seen = await page.evaluate(() => ({
    lang: document.documentElement.lang,
    next: document.querySelector("[data-key='Space']").textContent,
    caption: document.querySelector("#step-table caption").textContent,
    role: document.querySelector("#step-table .larger .role").textContent,
    voice: document.getElementById("voice").textContent,
    link: document.getElementById("run-link").href,
    scroll: document.documentElement.scrollWidth - document.documentElement.clientWidth,
  }));
  assert.deepEqual(seen, {
    lang: "ru",
    next: "Дальше (пробел)",
    caption: "верно, 12 < 55: 55 сдвинется вправо",
    role: "сдвиг",
    voice: "верно, 12 < 55: 55 сдвинется вправо",
    link: `${context.server.url}?lang=ru&array=44,55,12&predict`,
    scroll: 0,
  });
});
