// The page's own copies of the program's rules answer the cases that the program answers
// too: its words (web/words.js) those of tests/cases/words.cases, from the catalogue the site
// carries, and its lists (web/address.js) those of tests/cases/arrays.cases.
"use strict";

const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { test } = require("node:test");
const { pathToFileURL } = require("node:url");
const { caseLines, siteRoots } = require("./browser.cjs");

const CASES = path.join(__dirname, "..", "cases");
const load = (module) => import(pathToFileURL(path.join(__dirname, "..", "..", "web", module)));

// The page words no count of its own (the program's descriptions bring them in words), so
// it answers the cases of "say" and passes over those of "count".
test("every line of the words' cases", async () => {
  const { t, useCatalogue } = await load("words.js");
  const own = fs.readFileSync(path.join(siteRoots()[0], "ru.mo"));
  const bytes = (buffer) => buffer.buffer.slice(buffer.byteOffset, buffer.byteOffset + buffer.length);
  const catalogues = {
    ru: bytes(own),
    none: null,
    broken: bytes(Buffer.from("not a catalogue at all")),
    cut: bytes(own.subarray(0, 64)),
  };
  for (const [number, , words] of caseLines(path.join(CASES, "words.cases"))) {
    const where = `words.cases:${number}`;
    if (words[0] === "catalogue") {
      assert.ok(words[1] in catalogues, where);
      useCatalogue(catalogues[words[1]]);
      continue;
    }
    // say MSGID [NAME=VALUE]... -> TEXT
    if (words[0] === "count") continue;
    assert.equal(words[0], "say", where);
    assert.equal(words.at(-2), "->", where);
    const args = Object.fromEntries(words.slice(2, -2).map((pair) => pair.split(/=(.*)/s, 2)));
    assert.equal(t(words[1], args), words.at(-1), where);
  }
});

// Each list taken is no problem; each refused is refused in the page's words, for the fault
// and the item that the program names.
test("every line of the arrays' cases", async () => {
  const { listProblem } = await load("address.js");
  const { t } = await load("words.js");
  const FAULTS = {
    empty: () => t("Type 1 to 10 whole numbers, separated by commas."),
    missing: () => t("A number is missing: each comma needs one on both sides."),
    whole: (item) => t("{item} is not a whole number.", { item }),
    range: (item) => t("{item} is not from -99 to 999.", { item }),
    many: (item, list) => t("{count} numbers are too many: at most 10.", { count: list.split(",").length }),
  };
  for (const [number, , [list, arrow, fault, item]] of caseLines(path.join(CASES, "arrays.cases"))) {
    assert.equal(arrow, "->", `arrays.cases:${number}`);
    assert.equal(listProblem(list), fault in FAULTS ? FAULTS[fault](item, list) : null, `arrays.cases:${number}`);
  }
});
