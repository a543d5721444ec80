// The page around the program: the terminal it draws on (terminal.js), its run (run.js),
// the keys (keys.js), the controls (controls.js), the address (address.js), what the page
// says of the run (narration.js), the step as a table (step_table.js), its sound (sound.js)
// and the runs side by side (runs.js).
//
// For automation, window.demo has the terminal (`term`), the status of the last run
// (`exitStatus`, null while it runs) and `run()`, which starts again; `waits` counts the
// times the program slept waiting for a key event (a release wakes it too), `settled` is
// true while it waits or once it has ended, with all its output on the terminal, and
// `output` holds what it wrote; `heard` is true once the voice speaks at once.
import { readAddress } from "./address.js";
import { allowRunAgain, installControls, showChoices } from "./controls.js";
import { installKeys, sendKey } from "./keys.js";
import { forgetSteps, initNarration, show, sayEnded, sayWaiting, sayWithWayBack, speak, voiceHeard } from "./narration.js";
import { Run } from "./run.js";
import { KIND } from "./screens.js";
import { createRuns } from "./runs.js";
import { createSound } from "./sound.js";
import { createStepTable } from "./step_table.js";
import { createTerminal, rowsForScreenReaders } from "./terminal.js";
import { chooseLanguage, loadWords, t } from "./words.js";

// The page's words first, in the language it shows, which its program speaks too.
const language = chooseLanguage(location.search, navigator.languages);
await loadWords(language, document);
// The switch of languages: this address in the other.
for (const link of document.querySelectorAll("[data-lang]")) {
  const other = new URLSearchParams(location.search);
  other.set("lang", link.dataset.lang);
  link.href = `?${other}`;
  if (link.dataset.lang === language) link.setAttribute("aria-current", "true");
}

const $ = (id) => document.getElementById(id);
const program = globalThis.pageProgram; // chosen in index.html
const terminal = $("terminal");
const term = createTerminal(terminal);
initNarration({ status: $("status"), voice: $("voice"), code: $("code") });
// A tap on a place of the step table in practice moves the cursor there, with the keys.
const stepTable = createStepTable($("step-table"), (keys) => {
  for (const key of keys) sendKey(current, key, key);
});
const sound = createSound($("sound"));
const runs = createRuns({ section: $("runs"), table: $("runs-table"), plot: $("runs-plot"), clear: $("clear-runs") });
for (const link of document.querySelectorAll("nav a"))
  if (link.dataset.program === program) link.setAttribute("aria-current", "page");

let current = null; // the run under way, or the last one
let autoPlay = false;
let practising = false;

const hooks = {
  // What the program says of the screen it shows, for the page to show and say when it
  // waits, with all of the screen on the terminal.
  note(run, screen) {
    run.lastNote = screen;
    // In practice an action's frames pass without a wait: each sounds as it is drawn.
    if (practising) sound.play(screen);
  },
  waiting(run) {
    if (current !== run) return;
    const screen = run.lastNote ?? null;
    if (screen === run.shownNote) return; // a key that changed nothing woke the program
    run.shownNote = screen;
    stepTable.show(screen);
    sayWaiting(screen, autoPlay);
    // A pause or its end is no new screen to sound.
    if (!practising && !(screen && "paused" in screen)) sound.play(screen);
    if (screen?.kind === KIND.totals) runs.add(screen);
  },
  ended(run, status) {
    if (current !== run) return;
    sayEnded(run, status);
    allowRunAgain(true);
  },
  // A program that cannot run: the page says so, gives the keyboard back, and links to
  // the demonstration.
  cannot(run, message) {
    if (current === run) sayWithWayBack(message);
  },
};

// A new run of the program, as the address asks; the run, or null when the address asks
// for one that the program would refuse.
function run() {
  current?.abandon();
  const address = readAddress(location.search, program, language);
  showChoices(address);
  autoPlay = address.params.has("auto");
  practising = address.args.includes("--practice");
  term.reset();
  stepTable.show(null);
  $("where-said").textContent = "";
  if (address.problem) {
    current = null;
    allowRunAgain(false);
    sayWithWayBack(address.problem, t("Run the demonstration with its menu"), `?program=${program}`);
    return null;
  }
  forgetSteps();
  // The demonstration steps back on the page (--back): Left and the Back button; not in
  // practice, where the learner's actions are the steps.
  const back = program === "insertion-sort-demo" && !address.args.includes("--practice");
  const args = back ? [...address.args, "--back"] : address.args;
  current = new Run(program, term, args, hooks, language);
  allowRunAgain(false);
  show(t("running"));
  current.start();
  return current;
}

const focusTerminal = () => term.focus();
installKeys({
  terminal,
  firstControl: () => document.querySelector("#controls [data-key='Space']"),
  currentRun: () => current,
  focusTerminal,
  // The page of what each key delivers shows Tab too; the demonstration lets it leave.
  keepsTab: program !== "insertion-sort-demo",
});
const all = (selector) => [...document.querySelectorAll(selector)];
installControls({
  elements: {
    keyButtons: all("[data-key]"),
    arrayButtons: all("[data-array]"),
    answerButtons: all(".answer"),
    runAgain: $("run"),
    random: $("random"),
    own: $("own"),
    ownList: $("own-list"),
    ownProblem: $("own-problem"),
    auto: $("auto"),
    speed: $("speed"),
    predict: $("predict"),
    practice: $("practice"),
    practiceButtons: all(".practice"),
    watchingButtons: all(".watching"),
    runLink: $("run-link"),
  },
  currentRun: () => current,
  run,
  focusTerminal,
  speak,
});

// Where the run stands, said at once and shown beside the button.
$("where").addEventListener("click", () => {
  const where = current?.shownNote?.where ?? "";
  $("where-said").textContent = where;
  if (where) speak(where);
});
$("rows").addEventListener("change", (event) => rowsForScreenReaders(term, event.target.checked));

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

window.demo = {
  term,
  run,
  get exitStatus() {
    return current?.status ?? null;
  },
  get waits() {
    return current?.waits ?? 0;
  },
  get output() {
    return current?.output ?? [];
  },
  get settled() {
    return current !== null && current.settled;
  },
  // The page's voice speaks at once, its load read out.
  get heard() {
    return voiceHeard();
  },
};

run();
