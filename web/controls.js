// The controls beside the terminal: the run's buttons type what the keyboard would; the
// array's choices, your own list and auto-play start a new run, which the address says.
import { changeAddress, forgetArray, listProblem } from "./address.js";
import { sendKey, takeKeyboard } from "./keys.js";

const $ = (id) => document.getElementById(id);
const autoBox = $("auto");
const predictBox = $("predict");
const speed = $("speed");
const ownList = $("own-list");
const ownProblem = $("own-problem");
const runLink = $("run-link");

// CURRENTRUN() is the run under way; RUN() starts one from the address; FOCUSTERMINAL()
// gives the terminal the focus; SPEAK(words) says words at once.
export function installControls({ currentRun, run, focusTerminal, speak }) {
  const BUTTON_KEYS = { Space: " ", Escape: "Escape", KeyP: "p", ArrowLeft: "ArrowLeft", KeyY: "y", KeyN: "n" };
  for (const button of document.querySelectorAll("[data-key]"))
    button.addEventListener("click", () =>
      sendKey(currentRun(), button.dataset.key, BUTTON_KEYS[button.dataset.key]),
    );

  // A new run with other choices: the address says them, and the link to the run with it.
  const runWith = (change) => {
    changeAddress(change);
    takeKeyboard();
    return run();
  };
  $("run").addEventListener("click", () => {
    takeKeyboard();
    run();
  });
  for (const button of document.querySelectorAll("[data-array]"))
    button.addEventListener("click", async () => {
      const started = runWith(forgetArray);
      await started?.firstWait;
      sendKey(started, `Digit${button.dataset.array}`, button.dataset.array);
    });
  $("random").addEventListener("click", () =>
    runWith((next) => {
      forgetArray(next);
      next.set("random", "");
    }),
  );
  // A wrong list is refused here, in the page's words, and the field keeps it to be mended;
  // the address and the link keep the last good run.
  $("own").addEventListener("submit", (event) => {
    event.preventDefault();
    const problem = listProblem(ownList.value);
    ownProblem.textContent = problem ?? "";
    ownList.setAttribute("aria-invalid", problem ? "true" : "false");
    if (problem) return speak(problem);
    runWith((next) => {
      forgetArray(next);
      next.set("array", ownList.value);
    });
    focusTerminal();
  });
  for (const control of [autoBox, speed])
    control.addEventListener("change", () =>
      runWith((next) => (autoBox.checked ? next.set("auto", speed.value) : next.delete("auto"))),
    );
  predictBox.addEventListener("change", () =>
    runWith((next) => (predictBox.checked ? next.set("predict", "") : next.delete("predict"))),
  );
}

// Shows the choices of ADDRESS (address.js) on the controls, and the link that repeats them.
export function showChoices(address) {
  runLink.href = address.link;
  runLink.textContent = address.link;
  autoBox.checked = address.params.has("auto");
  if (address.params.get("auto")) speed.value = address.params.get("auto");
  if (address.params.has("array")) ownList.value = address.params.get("array");
  predictBox.checked = address.params.has("predict");
  for (const button of document.querySelectorAll(".answer")) button.hidden = !predictBox.checked;
}

// The button that runs again, usable once a run has ended.
export function allowRunAgain(allowed) {
  $("run").disabled = !allowed;
}
