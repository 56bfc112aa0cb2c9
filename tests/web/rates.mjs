// The page's update and render rates, sampled once a second: the counts the
// host keeps (vw_probe_updates, vw_probe_frames) over the page's own clock,
// and the game's meters (vw_probe_update_fps, vw_probe_render_fps), running
// averages of whole milliseconds that read a few below the true rate. A build
// without the counts gives null for them.
import { sleep } from './browser.mjs';

const kSampleMs = 1000;

const reading = (page) => page.evaluate(`(() => {
  const has = typeof Module._vw_probe_updates === 'function';
  return { t: performance.now(), updates: has ? Module._vw_probe_updates() : null,
    frames: has ? Module._vw_probe_frames() : null,
    updateMeter: Module._vw_probe_update_fps(), renderMeter: Module._vw_probe_render_fps() };
})()`);

// `seconds` one-second samples: { updates, frames, updateMeter, renderMeter }
// for each, the first two per second of the page's clock.
export async function sampleRates(page, seconds) {
  const samples = [];
  let last = await reading(page);
  for (let i = 0; i < seconds; ++i) {
    await sleep(kSampleMs);
    const now = await reading(page);
    const per = (a, b) => (a === null ? null : ((b - a) * 1000) / (now.t - last.t));
    samples.push({ updates: per(last.updates, now.updates), frames: per(last.frames, now.frames),
      updateMeter: now.updateMeter, renderMeter: now.renderMeter });
    last = now;
  }
  return samples;
}

// Median and least of one figure over the samples.
export function spread(samples, key) {
  const values = samples.map((s) => s[key]).filter((v) => v !== null).sort((a, b) => a - b);
  if (!values.length) return null;
  const middle = values.length / 2;
  const median = values.length % 2 ? values[Math.floor(middle)] : (values[middle - 1] + values[middle]) / 2;
  return { median, least: values[0], most: values[values.length - 1] };
}
