// The run: one program's life on the page. The program (insertion-sort-demo.js with its
// .wasm, or the one that ?program= names) is a factory createProgram(module); each run makes
// a new instance with a `page` object of its own, through which the program writes to the
// terminal, takes the key events caught, waits for the next one and says what it shows.

import { catalogue, t } from "./words.js";

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

// Loads the program's script; rejects when there is none, or when what loads is no program.
function loadScript(program) {
  if (typeof globalThis.createProgram === "function") return Promise.resolve();
  return new Promise((resolve, reject) => {
    const script = document.createElement("script");
    script.src = `${program}.js`;
    script.onload = () =>
      typeof globalThis.createProgram === "function"
        ? resolve()
        : reject(new Error(t("{file} is not a program of this page.", { file: `${program}.js` })));
    script.onerror = () => reject(new Error(t("The program {file} could not be loaded.", { file: `${program}.js` })));
    document.head.append(script);
  });
}

// The program's compiled code, fetched once for every run of the page; rejects, in plain
// words, when the file is missing or is no WebAssembly.
let code = null;
function loadCode(program) {
  code ??= (async () => {
    const file = `${program}.wasm`;
    const response = await fetch(file, { credentials: "same-origin" }).catch(() => null);
    if (!response?.ok) throw new Error(t("The program's code, {file}, could not be loaded.", { file }));
    try {
      return await WebAssembly.compile(await response.arrayBuffer());
    } catch {
      throw new Error(t("{file} is not a program's code.", { file }));
    }
  })();
  code.catch(() => (code = null)); // a later run tries again
  return code;
}

export class Run {
  // PROGRAM runs on TERM with ARGS, speaking LANGUAGE ("en" or "ru"); HOOKS hear of its waits (waiting(run)), what it says of
  // its screens (note(run, screen), the object of screen_description.hpp), its end
  // (ended(run, status)) and a program that cannot run (cannot(run, message)).
  constructor(program, term, args, hooks, language = "en") {
    this.program = program;
    this.language = language;
    this.term = term;
    this.args = args;
    this.hooks = hooks;
    this.keys = [];
    this.wake = null;
    this.said = []; // what the program said on standard error
    this.output = []; // what it wrote
    this.waits = 0; // the times it slept waiting for a key event (a release wakes it too)
    this.timer = null; // the time-out of its wait, when it has one
    this.status = null; // its exit status once it has ended
    this.pendingWrites = 0;
    this.ended = false;
    this.module = null;
    // Settles at the program's first wait for a key.
    this.firstWait = new Promise((resolve) => (this.waited = resolve));
  }

  get waiting() {
    return this.wake !== null;
  }

  // The program waits for a key or has ended, all its output on the terminal.
  get settled() {
    return (this.waiting || this.ended) && this.pendingWrites === 0;
  }

  async start() {
    try {
      await loadScript(this.program);
    } catch (error) {
      this.cannot(error.message);
      return;
    }
    const run = this;
    const module = {
      // What the program sees of the page.
      page: {
        keys: this.keys,
        write: (bytes) => this.write(bytes),
        // Resolves with the next key event, or after TIMEOUT milliseconds when it is not -1.
        waitForKey: (timeout) => this.waitForKey(timeout),
        note: (screen) => this.hooks.note?.(this, screen),
        // The language the page shows, which the program speaks too, from the catalogue
        // the page loaded for its own words.
        language: this.language,
        catalogue: catalogue(),
        codeAddresses,
      },
      arguments: this.args,
      instantiateWasm(imports, receive) {
        loadCode(run.program)
          .then((compiled) => WebAssembly.instantiate(compiled, imports))
          .then((instance) => receive(instance), (error) => run.cannot(error.message));
        return {};
      },
      onExit: (status) => this.end(status),
      // Anything thrown out of the program's main function but its exit.
      quit: (status, thrown) => {
        if (thrown?.name !== "ExitStatus") this.fail(thrown);
        throw thrown;
      },
      print: (text) => console.log(text),
      printErr: (text) => {
        this.said.push(text);
        console.warn(text);
      },
    };
    this.module = module;
    globalThis.createProgram(module).catch((error) => this.fail(error));
  }

  write(bytes) {
    if (this.ended) return;
    this.pendingWrites++;
    this.output.push(bytes);
    this.term.write(bytes, () => {
      this.pendingWrites--;
      // The first output of a run on the terminal: the benchmark's page-load figure.
      if (this.output.length === 1) performance.mark("first-output");
    });
  }

  waitForKey(timeout) {
    if (this.keys.length > 0) return Promise.resolve();
    this.waits++;
    this.waited();
    // Once what the program wrote is on the terminal, the page says what it waits for.
    this.term.write("", () => {
      if (!this.ended) this.hooks.waiting(this);
    });
    return new Promise((resolve) => {
      this.wake = () => {
        clearTimeout(this.timer);
        resolve();
      };
      if (timeout >= 0)
        this.timer = setTimeout(() => {
          this.wake = null;
          resolve();
        }, timeout);
    });
  }

  // A key event for the program: { down, code, key, modifiers } (keys.js makes them).
  key(event) {
    if (this.ended) return;
    this.keys.push(event);
    const wake = this.wake;
    this.wake = null;
    if (wake) wake();
  }

  // Stops listening to the program: another run takes the terminal. The program stays
  // asleep in its wait, its time-out (auto-play's) never to come.
  abandon() {
    this.ended = true;
    this.wake = null;
    clearTimeout(this.timer);
  }

  end(status) {
    if (this.ended) return;
    this.ended = true;
    this.wake = null;
    this.status = status;
    this.hooks.ended(this, status);
  }

  // A program that cannot run: no status, the page says why.
  cannot(message) {
    if (this.ended) return;
    this.ended = true;
    this.hooks.cannot(this, message);
  }

  // A trap or another error thrown out of the program: the run-time's report, as for a
  // processor fault, and the end with its number.
  fail(error) {
    if (this.ended) return;
    const module = this.module;
    // The number of a fault nobody could report.
    let status = 217;
    try {
      const frames = codeAddresses(error?.stack);
      const at = module._web_fault_frames();
      const room = Math.min(frames.length, 64);
      module.HEAPU32.set(frames.slice(0, room), at >> 2);
      status = module._web_report_fault(trapKind(error), room);
    } catch (reportError) {
      console.error("the run-time error report failed:", reportError);
    }
    this.end(status);
  }
}
