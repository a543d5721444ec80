// The runs side by side: every run that reaches its totals adds a row to a table (the
// array, its length, its pairs out of order, the comparisons and moves, the predictions of
// a quiz, the steps right of a practice) and two points to a plot of comparisons and moves
// against n, over the curves of
// the least and the most a sort of n can cost. The numbers, and the words for what a run
// cost, are the program's, from its description of the totals; the page counts nothing. The table is the plot's accessible
// form, and both stay while the page is open.
import { t } from "./words.js";

const SVG = "http://www.w3.org/2000/svg";
// The plot's drawing area in its own units, and the margins for its axes.
const [WIDTH, HEIGHT, LEFT, BOTTOM, TOP, RIGHT] = [400, 250, 40, 34, 10, 74];

function svg(name, attributes, text) {
  const node = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (text !== undefined) node.textContent = text;
  return node;
}

// Round numbers from FIRST up to LAST, five at most, and LAST.
function ticks(last, first) {
  const step = [1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000].find((size) => last / size <= 5) ?? last;
  const found = [first];
  for (let at = step; at < last; at += step) if (last - at > step / 2 && at - first > step / 2) found.push(at);
  return [...found, last];
}

const cell = (name, properties) => Object.assign(document.createElement(name), properties);

// The table's head and body for RUNS. It has as many columns as its heading says: the
// predictions' only once a run has some.
function tableOf(runs) {
  const predicted = runs.some((run) => run.asked !== undefined);
  const practised = runs.some((run) => run.steps !== undefined);
  const headings = [t("array"), "n", t("inversions"), t("comparisons"), t("moves")];
  if (predicted) headings.push(t("predictions"));
  if (practised) headings.push(t("steps right"));
  const head = cell("thead");
  head.append(cell("tr"));
  for (const heading of headings) head.rows[0].append(cell("th", { scope: "col", textContent: heading }));
  const body = cell("tbody");
  for (const run of runs) {
    const row = cell("tr");
    const values = [run.n, run.inversions, run.comparisons, run.moves];
    if (predicted) values.push(run.asked === undefined ? "" : t("{right} of {asked}", run));
    if (practised) values.push(run.steps === undefined ? "" : t("{right} of {asked}", { right: run.stepsRight, asked: run.steps }));
    row.append(cell("th", { scope: "row", textContent: run.array }));
    for (const value of values) row.append(cell("td", { textContent: value }));
    body.append(row);
  }
  return [head, body];
}

// The plot's parts for RUNS: its axes and legend, the least and the most a sort can cost,
// and each run's two points.
function plotOf(runs) {
  // The least and the most a sort of each n can cost, as the program gives them: [least,
  // most] for n from 1.
  const bounds = runs.at(-1)?.bounds ?? [];
  const most = Math.max(2, bounds.length, ...runs.map((run) => run.n));
  const top = Math.max(1, bounds.at(-1)?.[1] ?? 0, ...runs.map((run) => run.comparisons));
  const x = (n) => LEFT + ((n - 1) / (most - 1)) * (WIDTH - LEFT - RIGHT);
  const y = (count) => HEIGHT - BOTTOM - (count / top) * (HEIGHT - BOTTOM - TOP);
  const parts = [
    svg("line", { x1: LEFT, y1: y(0), x2: WIDTH - RIGHT, y2: y(0), class: "axis" }),
    svg("line", { x1: LEFT, y1: y(0), x2: LEFT, y2: TOP, class: "axis" }),
    svg("text", { x: (LEFT + WIDTH - RIGHT) / 2, y: HEIGHT - 4, class: "label" }, "n"),
  ];
  for (const n of ticks(most, 1)) parts.push(svg("text", { x: x(n), y: HEIGHT - BOTTOM + 16, class: "tick" }, n));
  for (const count of ticks(top, 0)) parts.push(svg("text", { x: LEFT - 6, y: y(count) + 4, class: "tick count" }, count));
  parts.push(svg("circle", { cx: LEFT + 12, cy: TOP + 6, r: 5, class: "comparisons" }));
  parts.push(svg("text", { x: LEFT + 22, y: TOP + 10 }, t("comparisons")));
  parts.push(svg("rect", { x: LEFT + 8, y: TOP + 20, width: 8, height: 8, class: "moves" }));
  parts.push(svg("text", { x: LEFT + 22, y: TOP + 28 }, t("moves")));
  // The least a sort of n can cost and the most, at every n the program takes.
  for (const [side, name] of [[0, "n−1"], [1, "n(n−1)/2"]]) {
    if (bounds.length === 0) break;
    const points = bounds.map((bound, k) => `${x(k + 1)},${y(bound[side])}`).join(" ");
    parts.push(svg("polyline", { points, class: "bound" }));
    parts.push(svg("text", { x: WIDTH - RIGHT + 10, y: y(bounds.at(-1)[side]) + 4, class: "bound-name" }, name));
  }
  for (const run of runs) {
    const said = t("{array}, n = {n}: {cost}", run);
    const comparisons = svg("circle", { cx: x(run.n), cy: y(run.comparisons), r: 5, class: "comparisons" });
    const moves = svg("rect", { x: x(run.n) - 4, y: y(run.moves) - 4, width: 8, height: 8, class: "moves" });
    for (const point of [comparisons, moves]) point.append(svg("title", {}, said));
    parts.push(comparisons, moves);
  }
  return parts;
}

// SECTION holds the runs; TABLE, PLOT (an <svg>) and CLEAR (a button) are its parts.
export function createRuns({ section, table, plot, clear }) {
  const runs = [];

  function draw() {
    section.classList.toggle("empty", runs.length === 0);
    table.tHead?.remove();
    table.tBodies[0]?.remove();
    table.append(...tableOf(runs));
    plot.replaceChildren(svg("title", { id: "runs-plot-title" }, t("Comparisons (dots) and moves (squares) of each run against n, between the least and the most a sort can cost; the table above has the same numbers")), ...plotOf(runs));
  }

  clear.addEventListener("click", () => {
    runs.length = 0;
    draw();
  });
  draw();
  return {
    // Adds the run whose totals SCREEN describes.
    add(screen) {
      const { array, n, inversions, comparisons, moves, cost, asked, right, steps, stepsRight, bounds } = screen;
      runs.push({ array, n, inversions, comparisons, moves, cost, asked, right, steps, stepsRight, bounds });
      draw();
    },
  };
}
