// The address: which run the page asks the program for, checked in the page's own words, and
// the link that repeats it. ?array=5,3,8,1, ?random (with &seed=N to repeat one) and
// &auto=SECONDS, &predict and &practice are the program's --array, --random --seed, --auto,
// --quiz and --practice;
// ?arg= passes any option as it is.

import { t } from "./words.js";

// The program's rules for its own array: 1 to 10 whole numbers from -99 to 999, a blank
// allowed after each comma.
const MOST_NUMBERS = 10;
const LEAST = -99;
const GREATEST = 999;

// What is wrong with the list TEXT, in a sentence naming the wrong item; null when it is good.
// The items are read in order, as the program reads them, so the first fault is the one it
// names.
export function listProblem(text) {
  if (text === "") return t("Type 1 to 10 whole numbers, separated by commas.");
  const items = text.split(",");
  for (const [index, raw] of items.entries()) {
    const item = index > 0 ? raw.replace(/^ +/, "") : raw;
    if (item === "") return t("A number is missing: each comma needs one on both sides.");
    if (!/^-?\d+$/.test(item)) return t("{item} is not a whole number.", { item });
    const number = Number(item);
    if (number < LEAST || number > GREATEST) return t("{item} is not from -99 to 999.", { item });
    if (index === MOST_NUMBERS) return t("{count} numbers are too many: at most 10.", { count: items.length });
  }
  return null;
}

function seedProblem(seed) {
  return /^\d+$/.test(seed) && Number(seed) <= 0xffffffff
    ? null
    : t("{seed} is not a seed: that is a whole number from 0 to 4294967295.", { seed });
}

function delayProblem(seconds) {
  // In milliseconds, rounded as the program rounds them.
  const ms = Math.floor(Number(seconds) * 1000 + 0.5);
  return /^(\d+\.?\d*|\.\d+)$/.test(seconds) && ms >= 50 && ms <= 10000
    ? null
    : t("{seconds} is not a number of seconds from 0.05 to 10.", { seconds });
}

// The query of PARAMS as the address shows it: a flag needs no "=", and a list reads better
// with its commas as they are.
function queryOf(params) {
  const query = params.toString().replace(/=(&|$)/g, "$1").replace(/%2C/gi, ",");
  return query ? `?${query}` : "";
}

// The run that the address asks for, on a page in LANGUAGE: the program's arguments and
// the link that repeats the run, or, for a choice that the program would refuse, the problem in the page's words. A
// random run without a seed gets one here, so that its link repeats it.
export function readAddress(search, program, language) {
  const params = new URLSearchParams(search);
  const args = params.getAll("arg");
  const link = new URLSearchParams();
  if (params.has("program")) link.set("program", program);
  // The link keeps the language that the address chose, or that is not the page's first.
  if (params.has("lang") || language !== "en") link.set("lang", language);
  const problems = [];
  if (params.has("array")) {
    const list = params.get("array");
    const problem = listProblem(list);
    if (problem) problems.push(t("The array in this address: {problem}", { problem }));
    args.push("--array", list);
    link.set("array", list);
  }
  if (params.has("random")) {
    const seed = params.get("seed") || String(crypto.getRandomValues(new Uint32Array(1))[0]);
    const problem = seedProblem(seed);
    if (problem) problems.push(t("The seed in this address: {problem}", { problem }));
    args.push("--random", "--seed", seed);
    link.set("random", "");
    link.set("seed", seed);
  }
  if (params.has("auto")) {
    const seconds = params.get("auto");
    const problem = seconds ? delayProblem(seconds) : null;
    if (problem) problems.push(t("The speed in this address: {problem}", { problem }));
    args.push(seconds ? `--auto=${seconds}` : "--auto");
    link.set("auto", seconds);
  }
  if (params.has("predict")) {
    args.push("--quiz");
    link.set("predict", "");
  }
  if (params.has("practice")) {
    args.push("--practice");
    link.set("practice", "");
  }
  for (const arg of params.getAll("arg")) link.append("arg", arg);
  return {
    params,
    args,
    problem: problems.join(" ") || null,
    link: `${location.origin}${location.pathname}${queryOf(link)}`,
  };
}

// Changes the address with CHANGE(params), without a page load.
export function changeAddress(change) {
  const next = new URLSearchParams(location.search);
  change(next);
  history.replaceState(null, "", `${location.pathname}${queryOf(next)}`);
}

// Forgets the array that the address chose.
export const forgetArray = (params) => ["array", "random", "seed"].forEach((name) => params.delete(name));
