// The game's save string as the tests need it: the score lists of a play
// mode, and a copy of a string with one mode's last-ten list replaced (with
// its checksum made anew, 32-bit wrapping as the game computes it).
const kSettings = 25;
const kBadgeWords = 8;
const kScores = 10;
const kFirstMode = kSettings + 1 + kBadgeWords + 1;
const kModeLength = 2 * kScores + 1;

function pieces(text) {
  const p = text.split('|');
  if (p.length < kFirstMode + kModeLength) throw new Error(`not a full save string: '${text}'`);
  return p;
}

// { top: [10], last: [10] } of play mode index `mode` (0 = the first).
export function scoreLists(text, mode) {
  const p = pieces(text);
  const at = kFirstMode + mode * kModeLength;
  const top = [], last = [];
  for (let i = 0; i < kScores; ++i) {
    top.push(Number(p[at + 2 * i]));
    last.push(Number(p[at + 2 * i + 1]));
  }
  return { top, last };
}

function scoreSum(top, last, mode) {
  let sum = 0;
  for (let i = 0; i < kScores; ++i) sum = (sum + Math.imul(i + 4, top[i]) + Math.imul(mode + i + 3, last[i])) | 0;
  return sum;
}

export function withLastTen(text, mode, last) {
  const p = pieces(text);
  const at = kFirstMode + mode * kModeLength;
  const { top } = scoreLists(text, mode);
  for (let i = 0; i < kScores; ++i) p[at + 2 * i + 1] = String(last[i]);
  p[at + 2 * kScores] = String(scoreSum(top, last, mode));
  return p.join('|');
}
