// The controls beside the terminal: the run's buttons type what the keyboard would; the
// array's choices, your own list and auto-play start a new run, which the address says.
import { changeAddress, forgetArray, listProblem } from "./address.js";
import { sendKey } from "./keys.js";

let parts = null; // the controls' elements, from installControls

// What a button types: its key's name as a DOM event gives it.
const BUTTON_KEYS = { Space: " ", Escape: "Escape", KeyP: "p", ArrowLeft: "ArrowLeft", ArrowDown: "ArrowDown", KeyY: "y", KeyN: "n" };

// ELEMENTS are the controls: keyButtons (each with data-key), arrayButtons (data-array),
// answerButtons, practiceButtons and watchingButtons (shown in practice and out of it),
// runAgain, random, own (the form), ownList, ownProblem, auto, speed, predict, practice
// and runLink. CURRENTRUN() is the run under way; RUN() starts one from the
// address; FOCUSTERMINAL() gives the terminal the focus; SPEAK(words) says words at once.
export function installControls({ elements, currentRun, run, focusTerminal, speak }) {
  parts = elements;
  for (const button of parts.keyButtons)
    button.addEventListener("click", () =>
      sendKey(currentRun(), button.dataset.key, BUTTON_KEYS[button.dataset.key]),
    );

  // A run started from a button pressed with a key or by a screen reader (a click of detail
  // 0) gives the keys to the terminal, which says so as it takes the focus; one clicked or
  // tapped leaves the focus with nothing, and the keys go to the program as they are.
  const started = (event) => {
    if (event.detail === 0) focusTerminal();
  };
  // A new run with other choices: the address says them, and the link to the run with it.
  const runWith = (change) => {
    changeAddress(change);
    return run();
  };
  parts.runAgain.addEventListener("click", (event) => {
    run();
    started(event);
  });
  for (const button of parts.arrayButtons)
    button.addEventListener("click", async (event) => {
      const begun = runWith(forgetArray);
      started(event);
      await begun?.firstWait;
      sendKey(begun, `Digit${button.dataset.array}`, button.dataset.array);
    });
  parts.random.addEventListener("click", (event) => {
    runWith((next) => {
      forgetArray(next);
      next.set("random", "");
    });
    started(event);
  });
  // A wrong list is refused here, in the page's words, and the field keeps it to be mended;
  // the address and the link keep the last good run.
  parts.own.addEventListener("submit", (event) => {
    event.preventDefault();
    const problem = listProblem(parts.ownList.value);
    parts.ownProblem.textContent = problem ?? "";
    parts.ownList.setAttribute("aria-invalid", problem ? "true" : "false");
    if (problem) return speak(problem);
    runWith((next) => {
      forgetArray(next);
      next.set("array", parts.ownList.value);
    });
    focusTerminal();
  });
  for (const control of [parts.auto, parts.speed])
    control.addEventListener("change", () =>
      runWith((next) => (parts.auto.checked ? next.set("auto", parts.speed.value) : next.delete("auto"))),
    );
  for (const [box, name] of [[parts.predict, "predict"], [parts.practice, "practice"]])
    box.addEventListener("change", () => runWith((next) => (box.checked ? next.set(name, "") : next.delete(name))));
}

// Shows the choices of ADDRESS (address.js) on the controls, and the link that repeats them.
export function showChoices(address) {
  parts.runLink.href = address.link;
  parts.runLink.textContent = address.link;
  parts.auto.checked = address.params.has("auto");
  if (address.params.get("auto")) parts.speed.value = address.params.get("auto");
  if (address.params.has("array")) parts.ownList.value = address.params.get("array");
  parts.predict.checked = address.params.has("predict");
  for (const button of parts.answerButtons) button.hidden = !parts.predict.checked;
  parts.practice.checked = address.params.has("practice");
  for (const button of parts.practiceButtons) button.hidden = !parts.practice.checked;
  for (const button of parts.watchingButtons) button.hidden = parts.practice.checked;
}

// The button that runs again, usable once a run has ended.
export function allowRunAgain(allowed) {
  parts.runAgain.disabled = !allowed;
}
