// The terminal the program draws on: xterm.js in the PC's colours, all 80 columns in the
// page's width.
import { t } from "./words.js";
import { Terminal } from "./xterm.mjs";

// The PC's colours: the text in light grey over black, light red and light green.
const theme = {
  foreground: "#aaaaaa",
  background: "#000000",
  cursor: "#aaaaaa",
  black: "#000000",
  red: "#aa0000",
  green: "#00aa00",
  yellow: "#aa5500",
  blue: "#0000aa",
  magenta: "#aa00aa",
  cyan: "#00aaaa",
  white: "#aaaaaa",
  brightBlack: "#555555",
  brightRed: "#ff5555",
  brightGreen: "#55ff55",
  brightYellow: "#ffff55",
  brightBlue: "#5555ff",
  brightMagenta: "#ff55ff",
  brightCyan: "#55ffff",
  brightWhite: "#ffffff",
};

export function createTerminal(element) {
  const term = new Terminal({
    cols: 80,
    rows: 25,
    theme,
    // The rows are read on request only (rowsForScreenReaders): the terminal's own live
    // region would read every row the program writes, over the page's one voice.
    screenReaderMode: false,
    fontFamily: '"DejaVu Sans Mono", "Liberation Mono", Consolas, monospace',
    fontSize: 16,
    cursorStyle: "underline",
    scrollback: 500,
  });
  term.open(element);
  // The page gives the program its keys (keys.js): xterm.js takes none itself, so that Tab
  // and the browser's own keys pass on, and its input is no read-only field to a screen
  // reader but the program's, with no on-screen keyboard over the run on a phone. (A region
  // of role "application" around it was tried: Orca then said nothing of the first control
  // that Tab reached from the terminal.)
  term.attachCustomKeyEventHandler(() => false);
  term.textarea.setAttribute("inputmode", "none");
  term.textarea.setAttribute("aria-label", t("Terminal: the program's keys go here"));

  // All 80 columns in the page's width, from a phone to a projector: the font takes the
  // size that fits, 16 pixels at most (the body's margins and the terminal's padding aside).
  function fitTerminal() {
    const screen = element.querySelector(".xterm-screen");
    const width = screen?.getBoundingClientRect().width;
    if (!width) return;
    const room = document.documentElement.clientWidth - 2 * 16 - 12;
    const size = term.options.fontSize;
    const wanted = Math.max(4, Math.min(16, Math.floor(((size * room) / width) * 4) / 4));
    if (wanted !== size) term.options.fontSize = wanted;
  }
  function refit() {
    term.options.fontSize = 16;
    fitTerminal();
    fitTerminal(); // once more, measured at the new size
  }
  refit();
  window.addEventListener("resize", refit);
  return term;
}

// Lets a screen reader read TERM's rows as a list (xterm.js's screen reader mode), or not;
// never aloud by themselves: the mode's own live region is silenced.
export function rowsForScreenReaders(term, on) {
  term.options.screenReaderMode = on;
  for (const region of term.element.querySelectorAll(".live-region")) region.setAttribute("aria-live", "off");
}
