// The figures of the browser page; run by bench/web.
"use strict";

const fs = require("node:fs");
const path = require("node:path");
const zlib = require("node:zlib");
const { serve, siteRoots, launch, settle } = require("../tests/web/browser.cjs");

const LOADS = 10;
const STEPS = 80;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}
function percentile90(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * 0.9))];
}
const show = (name, value, digits = 2) => console.log(`${name}: ${value.toFixed(digits)}`);

async function main() {
  const server = await serve(siteRoots());
  const browser = await launch();
  try {
    // Page load to the menu on the terminal: from the start of the navigation to the
    // program's first output parsed into the terminal's buffer, each load in a new page.
    const loads = [];
    for (let i = 0; i < LOADS; i++) {
      const page = await browser.newPage();
      await page.goto(server.url);
      await settle(page);
      loads.push(await page.evaluate(() => performance.getEntriesByName("first-output")[0].startTime));
      await page.close();
    }

    // Key to frame: from the key event's time stamp to the frame's bytes parsed into the
    // buffer, and to the terminal's next rendering of its rows.
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => {
      window.bench = { keys: [], parsed: [], rendered: [] };
      window.addEventListener("keydown", (event) => window.bench.keys.push(event.timeStamp), { capture: true });
    });
    await page.goto(server.url);
    await settle(page);
    await page.evaluate(() => {
      demo.term.onWriteParsed(() => bench.parsed.push(performance.now()));
      demo.term.onRender(() => bench.rendered.push(performance.now()));
    });
    await page.keyboard.press("2");
    await settle(page);
    const toBuffer = [];
    const toPaint = [];
    for (let i = 0; i < STEPS; i++) {
      await page.keyboard.press("Space");
      await settle(page);
      // The frame is painted with the next animation frame; wait for it.
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
      const { keys, parsed, rendered } = await page.evaluate(() => bench);
      const key = keys.at(-1);
      const firstAfter = (times) => times.find((time) => time >= key);
      const inBuffer = firstAfter(parsed);
      const painted = firstAfter(rendered);
      if (inBuffer === undefined || painted === undefined) break; // the run has ended
      toBuffer.push(inBuffer - key);
      toPaint.push(painted - key);
    }

    // Waiting at a step gate: the script and task time the page spends in 5 s.
    const session = await page.createCDPSession();
    await session.send("Performance.enable");
    const metrics = async () =>
      Object.fromEntries((await session.send("Performance.getMetrics")).metrics.map((m) => [m.name, m.value]));
    const before = await metrics();
    await new Promise((resolve) => setTimeout(resolve, 5000));
    const idle = await metrics();

    show("page_load_to_menu_ms", median(loads), 1);
    show("key_to_buffer_ms", median(toBuffer));
    show("key_to_buffer_p90_ms", percentile90(toBuffer));
    show("key_to_paint_ms", median(toPaint));
    show("key_to_paint_p90_ms", percentile90(toPaint));
    console.log(`frames_measured: ${toBuffer.length}`);
    show("idle_script_ms", (idle.ScriptDuration - before.ScriptDuration) * 1000);
    show("idle_task_ms", (idle.TaskDuration - before.TaskDuration) * 1000);
  } finally {
    await browser.close();
    server.close();
  }

  // The program without xterm.js: its WebAssembly and its JavaScript.
  const site = siteRoots()[0];
  let bytes = 0;
  let gzipped = 0;
  for (const name of ["insertion-sort-demo.js", "insertion-sort-demo.wasm"]) {
    const content = fs.readFileSync(path.join(site, name));
    bytes += content.length;
    gzipped += zlib.gzipSync(content, { level: 9 }).length;
  }
  console.log(`program_bytes: ${bytes}`);
  console.log(`program_gzip_bytes: ${gzipped}`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
