// The page around the program: the terminal it draws on, the keyboard events it reads,
// and the end of its run. The program (insertion-sort-demo.js with its .wasm, or the one
// that ?program= names) is a factory createProgram(module); each run makes a new instance
// with a `page` object of its own, through which the program writes to the terminal, takes
// the key events caught and waits for the next one.
//
// For automation, window.demo has the terminal (`term`), the status of the last run
// (`exitStatus`, null while it runs) and `run()`, which starts again; `waits` counts the
// times the program slept waiting for a key event (a release wakes it too), `settled` is
// true while it waits or once it has ended, with all its output on the terminal, and
// `output` holds what it wrote.
import { Terminal } from "./xterm.mjs";

let params = new URLSearchParams(location.search);
const program = globalThis.pageProgram; // chosen in index.html
// The run the address asks for: ?array=5,3,8,1, ?random (with &seed=N to repeat one) and
// &auto=SECONDS are the program's --array, --random --seed and --auto; ?arg= passes any
// option as it is. A random run without a seed gets one here, so that its link repeats it.
function runChoices() {
  const args = params.getAll("arg");
  const link = new URLSearchParams();
  if (params.has("program")) link.set("program", program);
  if (params.has("array")) {
    args.push("--array", params.get("array"));
    link.set("array", params.get("array"));
  }
  if (params.has("random")) {
    const seed = params.get("seed") || String(crypto.getRandomValues(new Uint32Array(1))[0]);
    args.push("--random", "--seed", seed);
    link.set("random", "");
    link.set("seed", seed);
  }
  if (params.has("auto")) {
    const seconds = params.get("auto");
    args.push(seconds ? `--auto=${seconds}` : "--auto");
    link.set("auto", seconds);
  }
  for (const arg of params.getAll("arg")) link.append("arg", arg);
  // A flag needs no "=", and a list reads better with its commas as they are.
  const query = link.toString().replace(/=(&|$)/g, "$1").replace(/%2C/gi, ",");
  return { args, link: `${location.origin}${location.pathname}${query ? "?" + query : ""}` };
}
const runLink = document.getElementById("run-link");
let programArguments = [];
// The choices of the address, for the next run; the link to it shown.
function takeChoices() {
  params = new URLSearchParams(location.search);
  const choices = runChoices();
  programArguments = choices.args;
  runLink.href = choices.link;
  runLink.textContent = choices.link;
  autoBox.checked = params.has("auto");
  if (params.get("auto")) speed.value = params.get("auto");
}

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

const term = new Terminal({
  cols: 80,
  rows: 25,
  theme,
  screenReaderMode: true,
  fontFamily: '"DejaVu Sans Mono", "Liberation Mono", Consolas, monospace',
  fontSize: 16,
  cursorStyle: "underline",
  scrollback: 500,
  disableStdin: true,
});
term.open(document.getElementById("terminal"));

// All 80 columns in the page's width, from a phone to a projector: the font takes the size
// that fits, 16 pixels at most (the body's margins and the terminal's padding aside).
function fitTerminal() {
  const screen = document.querySelector("#terminal .xterm-screen");
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

const statusLine = document.getElementById("status");
const runButton = document.getElementById("run");
const autoBox = document.getElementById("auto");
const speed = document.getElementById("speed");
for (const link of document.querySelectorAll("nav a")) {
  if (link.dataset.program === program) link.setAttribute("aria-current", "page");
}

// The flags of an event as the program takes them.
function modifiersOf(event) {
  return (
    (event.shiftKey ? 1 : 0) |
    (event.ctrlKey ? 2 : 0) |
    (event.altKey ? 4 : 0) |
    (event.getModifierState("AltGraph") ? 8 : 0) |
    (event.getModifierState("CapsLock") ? 16 : 0) |
    (event.getModifierState("NumLock") ? 32 : 0) |
    (event.getModifierState("ScrollLock") ? 64 : 0)
  );
}

// The code addresses of the WebAssembly frames of a stack trace, innermost first.
function codeAddresses(stack) {
  const found = [];
  for (const line of String(stack ?? "").split("\n")) {
    const frame = /wasm-function\[\d+\]:0x([0-9a-f]+)/.exec(line);
    if (frame) found.push(parseInt(frame[1], 16));
  }
  return found;
}

// The kind of a trap, as the program's run-time takes it (web_report_fault), which gives
// it the number the processor's fault of that kind has elsewhere.
const TRAP_KINDS = [/divide by zero/, /integer overflow/, /out of bounds|Maximum call stack/];
function trapKind(error) {
  const message = String(error?.message ?? error);
  const kind = TRAP_KINDS.findIndex((pattern) => pattern.test(message));
  return kind < 0 ? TRAP_KINDS.length : kind;
}

let current = null; // the run under way, or the last one

class Run {
  constructor() {
    this.keys = [];
    this.wake = null;
    this.said = []; // what the program said on standard error
    // Settles at the program's first wait for a key.
    this.firstWait = new Promise((resolve) => (this.waited = resolve));
    this.pendingWrites = 0;
    this.ended = false;
    this.module = null;
    const run = this;
    // What the program sees of the page.
    this.page = {
      keys: this.keys,
      write(bytes) {
        if (current !== run) return;
        run.pendingWrites++;
        demo.output.push(bytes);
        term.write(bytes, () => {
          run.pendingWrites--;
          // The first output of a run on the terminal: the benchmark's page-load figure.
          if (demo.output.length === 1) performance.mark("first-output");
        });
      },
      // Resolves with the next key event, or after TIMEOUT milliseconds when it is not -1.
      waitForKey(timeout) {
        if (run.keys.length > 0) return Promise.resolve();
        demo.waits++;
        run.waited();
        // Once what the program wrote is on the terminal, the status says what it waits for.
        term.write("", () => {
          if (current === run && !run.ended) statusLine.textContent = waitingFor();
        });
        return new Promise((resolve) => {
          let timer = null;
          run.wake = () => {
            clearTimeout(timer);
            resolve();
          };
          if (timeout >= 0)
            timer = setTimeout(() => {
              run.wake = null;
              resolve();
            }, timeout);
        });
      },
      codeAddresses,
    };
  }

  get waiting() {
    return this.wake !== null;
  }

  key(event) {
    this.keys.push({
      down: event.type === "keydown",
      code: event.code,
      key: event.key,
      modifiers: modifiersOf(event),
    });
    const wake = this.wake;
    this.wake = null;
    if (wake) wake();
  }

  end(status) {
    if (this.ended) return;
    this.ended = true;
    this.wake = null;
    demo.exitStatus = status;
    const words = { 0: "finished", 100: "stopped with Esc", 2: this.said.at(-1) };
    statusLine.textContent = words[status] ?? `ended with status ${status}`;
    runButton.disabled = false;
  }

  // A trap or another error thrown out of the program: the run-time's report, as for a
  // processor fault, and the end with its number.
  fail(error) {
    if (this.ended) return;
    const module = this.module;
    // The number of a fault nobody could report.
    let code = 217;
    try {
      const frames = codeAddresses(error?.stack);
      const at = module._web_fault_frames();
      const room = Math.min(frames.length, 64);
      module.HEAPU32.set(frames.slice(0, room), at >> 2);
      code = module._web_report_fault(trapKind(error), room);
    } catch (reportError) {
      console.error("the run-time error report failed:", reportError);
    }
    this.end(code);
  }
}

// Loads the program's script; rejects when there is none, or when what loads is no program.
function loadProgram() {
  if (typeof globalThis.createProgram === "function") return Promise.resolve();
  return new Promise((resolve, reject) => {
    const script = document.createElement("script");
    script.src = `${program}.js`;
    script.onload = () =>
      typeof globalThis.createProgram === "function"
        ? resolve()
        : reject(new Error(`${program}.js is not a program of this page.`));
    script.onerror = () => reject(new Error(`The program ${program}.js could not be loaded.`));
    document.head.append(script);
  });
}

// A program that cannot run: the page says so, gives the keyboard back, and links to the
// demonstration.
function cannotRun(thisRun, message) {
  thisRun.ended = true;
  statusLine.textContent = `${message} `;
  const back = Object.assign(document.createElement("a"), {
    href: "?",
    textContent: "Back to the demonstration",
  });
  statusLine.append(back);
}

// What the program waits for, in plain words, from what the terminal shows.
function waitingFor() {
  if (program !== "insertion-sort-demo") return "press a key to see what it delivers";
  const buffer = term.buffer.active;
  const row = (y) => buffer.getLine(buffer.viewportY + y)?.translateToString(true) ?? "";
  for (let y = 0; y < term.rows; y++)
    if (row(y).startsWith("Total movings")) return "type a line and press Enter";
  if (buffer.cursorX === 0 && row(buffer.cursorY - 1).startsWith("4 ")) return "choose an array";
  if (params.has("auto")) return "playing by itself: Space or Next for the next step, P to pause";
  return "press Space or Next for the next step";
}

async function run() {
  takeChoices();
  const thisRun = new Run();
  current = thisRun;
  demo.exitStatus = null;
  demo.waits = 0;
  demo.output = [];
  runButton.disabled = true;
  term.reset();
  statusLine.textContent = "running";
  try {
    await loadProgram();
  } catch (error) {
    cannotRun(thisRun, error.message);
    return;
  }
  const module = {
    page: thisRun.page,
    arguments: programArguments,
    onExit: (status) => thisRun.end(status),
    // Anything thrown out of the program's main function but its exit.
    quit: (status, thrown) => {
      if (thrown?.name !== "ExitStatus") thisRun.fail(thrown);
      throw thrown;
    },
    print: (text) => console.log(text),
    printErr: (text) => {
      thisRun.said.push(text);
      console.warn(text);
    },
  };
  thisRun.module = module;
  globalThis.createProgram(module).catch((error) => thisRun.fail(error));
}

// The keys go to the program while it runs, and nowhere else; but F6 gives the keyboard
// back to the page's buttons.
function onKey(event) {
  if (current === null || current.ended) return;
  // What is typed into the page's own fields is theirs.
  if (event.target instanceof Element && event.target.matches("input, select, textarea")) return;
  if (event.key === "F6") {
    event.preventDefault();
    if (event.type === "keydown") document.querySelector("#controls button").focus();
    return;
  }
  event.preventDefault();
  event.stopImmediatePropagation();
  current.key(event);
}
window.addEventListener("keydown", onKey, { capture: true });
window.addEventListener("keyup", onKey, { capture: true });

// A trap after a wait surfaces here, out of the promise that resumed the program; the exit
// surfaces as ExitStatus, which is no error.
window.addEventListener("unhandledrejection", (event) => {
  if (event.reason?.name === "ExitStatus") {
    event.preventDefault();
    return;
  }
  if (current !== null && !current.ended) {
    event.preventDefault();
    current.fail(event.reason);
  }
});

runButton.addEventListener("click", () => run());

// The buttons type what the keyboard would: a press and a release.
function sendKey(code, key) {
  if (current === null || current.ended) return;
  for (const type of ["keydown", "keyup"])
    current.key({ type, code, key, shiftKey: false, ctrlKey: false, altKey: false, getModifierState: () => false });
}
const BUTTON_KEYS = { Space: " ", Escape: "Escape", KeyP: "p" };
for (const button of document.querySelectorAll("[data-key]"))
  button.addEventListener("click", () => sendKey(button.dataset.key, BUTTON_KEYS[button.dataset.key]));

// A new run with other choices: the address says them, and the link to the run with it.
function runWith(change) {
  const next = new URLSearchParams(location.search);
  change(next);
  const query = next.toString().replace(/=(&|$)/g, "$1");
  history.replaceState(null, "", `${location.pathname}${query ? "?" + query : ""}`);
  return run();
}
const forgetArray = (next) => ["array", "random", "seed"].forEach((name) => next.delete(name));
for (const button of document.querySelectorAll("[data-array]"))
  button.addEventListener("click", async () => {
    await runWith(forgetArray);
    await current.firstWait;
    sendKey(`Digit${button.dataset.array}`, button.dataset.array);
  });
document.getElementById("random").addEventListener("click", () =>
  runWith((next) => {
    forgetArray(next);
    next.set("random", "");
  }),
);
document.getElementById("own").addEventListener("submit", (event) => {
  event.preventDefault();
  runWith((next) => {
    forgetArray(next);
    next.set("array", document.getElementById("own-list").value);
  });
});
for (const control of [autoBox, speed])
  control.addEventListener("change", () =>
    runWith((next) => (autoBox.checked ? next.set("auto", speed.value) : next.delete("auto"))),
  );

const demo = {
  term,
  exitStatus: null,
  waits: 0,
  output: [],
  run,
  get settled() {
    return current !== null && (current.waiting || current.ended) && current.pendingWrites === 0;
  },
};
window.demo = demo;

run();
