// The page's words: the English written in the code.
export function t(text) {
  return text;
}
