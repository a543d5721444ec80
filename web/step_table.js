// The step as a table beside the terminal: a header row of the places, the array as the
// frame shows it (the gap's cell empty), and the element being inserted under its place;
// each cell's role in words as well as in colour, the step's sentence as the caption. All of
// it is the program's description of the screen it shows; the page only lays it out.
import { KIND } from "./screens.js";
import { t } from "./words.js";

// Each role of a cell of the array's row: its word under the number, and what a screen
// reader says of it.
const ROLES = {
  larger: () => [t("moves right"), t("compared, larger: moves one place right")],
  notlarger: () => [t("stays"), t("compared, not larger: the element goes after it")],
  gap: () => [t("gap"), t("the gap")],
};

const span = (className, textContent) => Object.assign(document.createElement("span"), { className, textContent });

// One cell of the array's row (ELEMENT false) or the element's: the number, in the role's
// colour, its ORDER among equal values when others have its value, and the role's word.
function cell(value, role, element, order) {
  const td = document.createElement("td");
  td.className = [role === "plain" ? "" : role, element ? "element" : ""].join(" ").trim();
  if (value !== null) td.append(span("value", value));
  if (order) td.append(span("order", ` ${order}`));
  const words = element ? null : ROLES[role]?.();
  if (words) {
    td.append(Object.assign(span("role", words[0]), { ariaHidden: "true" }));
    td.append(span("visually-hidden", `, ${words[1]}`));
  }
  if (element) td.setAttribute("aria-current", "true");
  return td;
}

// A header cell: SHOWN on the screen, SAID by a screen reader.
function header(scope, shown, said) {
  const th = Object.assign(document.createElement("th"), { scope });
  th.append(Object.assign(span("", shown), { ariaHidden: "true" }), span("visually-hidden", said));
  return th;
}

// TABLE is the <table> to fill; MOVECURSOR(keys) types the keys that take a practice's
// cursor to a place tapped.
export function createStepTable(table, moveCursor) {
  let shown = null;
  // In practice, while the learner is to take an element, a place tapped is where the cursor
  // goes: as many Left or Right as it takes.
  table.addEventListener("click", (event) => {
    const place = event.target.closest("td[data-place]")?.dataset.place;
    if (!place || shown?.kind !== KIND.take) return;
    const steps = Number(place) - shown.cursor;
    moveCursor(Array(Math.abs(steps)).fill(steps < 0 ? "ArrowLeft" : "ArrowRight"));
  });
  return {
    // Shows SCREEN, the program's description (screen_description.hpp); a screen without
    // an array (the menu, another program) hides the table.
    show(screen) {
      shown = screen;
      table.hidden = !screen?.places;
      if (table.hidden) return;
      const caption = Object.assign(document.createElement("caption"), { textContent: screen.sentence });
      // The rows are named as in the code beside them: a, the array; x, the element.
      const places = screen.places.map((_, k) => header("col", String(k + 1), `${t("place")} ${k + 1}`));
      const head = document.createElement("tr");
      head.append(document.createElement("td"), ...places);
      const array = document.createElement("tr");
      array.append(header("row", "a", t("the array")), ...screen.places.map(([value, role, order]) => cell(value, role, false, order)));
      // In practice the table is a grid whose places can be chosen: the cursor's is selected.
      const practice = screen.cursor !== undefined;
      table.setAttribute("role", practice ? "grid" : "table");
      if (practice)
        [...array.cells].slice(1).forEach((td, k) => {
          td.dataset.place = k + 1;
          td.setAttribute("aria-selected", String(k + 1 === screen.cursor));
        });
      const rows = [head, array];
      const element = screen.element;
      if (element) {
        const row = document.createElement("tr");
        row.className = "element";
        row.append(header("row", "x", t("the element being inserted")));
        for (let k = 1; k <= screen.places.length; k++)
          row.append(
            k === element.place ? cell(element.value, element.outcome ?? "plain", true, element.order) : cell(null, "plain", false),
          );
        rows.push(row);
      }
      const thead = document.createElement("thead");
      thead.append(head);
      const tbody = document.createElement("tbody");
      tbody.append(...rows.slice(1));
      table.replaceChildren(caption, thead, tbody);
    },
  };
}
