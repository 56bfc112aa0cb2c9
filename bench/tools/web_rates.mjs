// The web build's update and render rates in headless Chromium, at the menu
// and in a round of play mode 1 left to bounce on the spot, sampled once a
// second (tests/web/rates.mjs); and the sizes of its .wasm, .js and .data.
// Usage: node --experimental-websocket bench/tools/web_rates.mjs WEB_BUILD [SECONDS]
// Prints one JSON object.
import { mkdtempSync, rmSync, statSync } from 'node:fs';
import { join } from 'node:path';

import { Browser, Keys, sleep, waitFor } from '../../tests/web/browser.mjs';
import { sampleRates, spread } from '../../tests/web/rates.mjs';
import { serve } from '../../web/serve.mjs';

const [webBuild, secondsArg] = process.argv.slice(2);
const seconds = Number(secondsArg || 10);
// The menu's slide-in, and the round's start, settle first.
const kSettleMs = 2000;

const probe = (page, name) => page.evaluate(`Module.calledRun ? Module._vw_probe_${name}() : -1`);

function summary(samples) {
  const out = { samples };
  for (const key of ['updates', 'frames', 'updateMeter', 'renderMeter']) out[key] = spread(samples, key);
  return out;
}

async function measure(page) {
  await waitFor('the menu', async () => (await probe(page, 'screen')) === 1 && (await probe(page, 'load_step')) === 0,
    60000);
  await sleep(kSettleMs);
  const menu = summary(await sampleRates(page, seconds));
  await page.evaluate('Module.canvas.focus()');
  await page.press(Keys.space);
  await waitFor('a round', async () => (await probe(page, 'screen')) === 10, 10000);
  await sleep(kSettleMs);
  const round = summary(await sampleRates(page, seconds));
  return { menu, round };
}

async function main() {
  const size = (name) => statSync(join(webBuild, name)).size;
  const { server, url } = await serve(webBuild);
  const profile = mkdtempSync('/tmp/vw-rates-');
  const browser = await Browser.launch(profile);
  try {
    const page = await browser.newPage();
    await page.goto(url);
    const rates = await measure(page);
    console.log(JSON.stringify({ build: webBuild, wasm: size('vaultwick.wasm'), js: size('vaultwick.js'),
      data: size('vaultwick.data'), ...rates }));
  } finally {
    await browser.close();
    server.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(error.stack || error);
  process.exit(1);
});
