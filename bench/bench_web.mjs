// The browser page's goals in one run (make bench-web; it needs build/ and build-web/site/):
//   1. the large drawing of bench_convert_jww (1,000,000 lines, 100,000 arcs) converted in the
//      page's worker against the native program pinned to one core, side by side, best of
//      RUNS; the worker's peak memory (its WebAssembly memory, which only grows);
//   2. the page's weight as a server sends it: gzip and brotli of its files, the texts' font
//      (fetched only for drawings with texts) on its own line;
//   3. from dropping a sample of about 200 KB to the first frame of its view, cold (a new
//      page: the worker and its WebAssembly start too) and warm.
//   node bench/bench_web.mjs [FORMAT] [RUNS]      FORMAT glb (default), dae-compact or dae
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir, loadavg } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { brotliCompressSync, gzipSync, constants } from 'node:zlib';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const requireWeb = createRequire(path.join(root, 'web/package.json'));
const { default: puppeteer } = await import(pathToFileURL(requireWeb.resolve('puppeteer-core')).href);
const { serve } = await import(pathToFileURL(path.join(root, 'web/serve.mjs')).href);
const [format = 'glb', runs = '3'] = process.argv.slice(2);
const site = path.join(root, 'build-web/site');
const work = mkdtempSync(path.join(tmpdir(), 'tessaro-bench-web-'));
const mib = (bytes) => `${(bytes / 1048576).toFixed(1)} MiB`;

// ---- 2. page weight: the page's own files against the goal; the texts' font (fonts/) on its
// own line, since the worker fetches it only for a drawing with texts to draw.
const weigh = (name) => {
  const bytes = readFileSync(path.join(site, name));
  return { name, raw: bytes.length, gzip: gzipSync(bytes, { level: 9 }).length,
    brotli: brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length };
};
const filesUnder = (folder) => readdirSync(path.join(site, folder), { withFileTypes: true }).flatMap((entry) => {
  const name = path.join(folder, entry.name);
  return entry.isDirectory() ? filesUnder(name) : [name];
});
const weights = filesUnder('').filter((name) => !name.startsWith('fonts/')).map(weigh);
const fontWeights = filesUnder('').filter((name) => name.startsWith('fonts/') && name.endsWith('.ttf')).map(weigh);
const total = (key, list = weights) => list.reduce((sum, w) => sum + w[key], 0);

// ---- 1. the large drawing
const samples = readdirSync(path.join(root, '../shared/samples/jww')).map((f) => path.join(root, '../shared/samples/jww', f));
const smallest = samples.reduce((a, b) => (statSync(a).size <= statSync(b).size ? a : b));
const drawing = path.join(work, 'large.jww');
if (spawnSync(path.join(root, 'build/bench_convert_jww'), ['--write-drawing', drawing]).status !== 0) {
  console.error('bench-web: build/bench_convert_jww could not write the drawing');
  process.exit(1);
}
function native() {
  const started = process.hrtime.bigint();
  const run = spawnSync('taskset', ['-c', '0', path.join(root, 'build/tessaro'), '--format', format, '--background', 'dark',
    '--out', work, drawing], { stdio: 'ignore' });
  if (run.status !== 0) throw new Error('the native conversion failed');
  return Number(process.hrtime.bigint() - started) / 1e6;
}

const { server, url } = await serve(site);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true, userDataDir: path.join(work, 'profile'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});

async function newPage() {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  await page.goto(url);
  await page.waitForSelector('#options[data-words]');
  await page.select('#options select[name="format"]', format);
  await page.select('#options select[name="background"]', 'dark');
  return page;
}

// Picks the files at once (the first is shown) and answers the last one's figures.
async function pick(page, ...files) {
  const count = await page.$$eval('.file', (items) => items.length) + files.length;
  await (await page.$('#picker')).uploadFile(...files);
  await page.waitForFunction((n) => document.querySelectorAll('.file').length === n &&
    [...document.querySelectorAll('.file')].every((item) => item.dataset.state === 'done'), { timeout: 600_000, polling: 50 }, count);
  return page.$eval(`.file:nth-child(${count})`, (item) => ({ ms: Number(item.dataset.ms), memory: Number(item.dataset.memory), status: item.dataset.status }));
}

try {
  const results = [];
  for (let run = 0; run < Number(runs); run++) {
    const nativeMs = native();
    // A small sample first: it is the one shown, so the large drawing is converted without a
    // view (software WebGL would take minutes to draw 2.2 million segments).
    const page = await newPage();
    const started = Date.now();
    const inPage = await pick(page, smallest, drawing);
    const endToEnd = Date.now() - started;
    await page.close();
    results.push({ nativeMs, ...inPage, endToEnd });
  }
  const best = (key) => Math.min(...results.map((r) => r[key]));
  const nativeBest = best('nativeMs'), pageBest = best('ms');

  // ---- 3. drop to first frame
  const sample = [...samples].sort((a, b) => Math.abs(statSync(a).size - 200_000) - Math.abs(statSync(b).size - 200_000))[0];
  const frames = [];
  for (let run = 0; run < Number(runs); run++) {
    const page = await newPage();
    const times = [];
    for (let attempt = 0; attempt < 2; attempt++) {  // cold, then warm
      await page.$eval('#view', (view) => { delete view.dataset.firstFrameMs; });
      await (await page.$('#picker')).uploadFile(sample);
      await page.waitForFunction(() => document.querySelector('#view').dataset.firstFrameMs, { timeout: 60_000 });
      times.push(Number(await page.$eval('#view', (view) => view.dataset.firstFrameMs)));
    }
    frames.push(times);
    await page.close();
  }

  console.log(`Load averages: ${loadavg().map((l) => l.toFixed(2)).join(' ')}`);
  console.log(`1. ${path.basename(drawing)} (${mib(statSync(drawing).size)}), --format ${format}, best of ${runs}:`);
  console.log(`   native, one core (taskset -c 0 build/tessaro):   ${nativeBest.toFixed(0)} ms (the whole program: start, read, write)`);
  console.log(`   in the page's worker (the engine's call):        ${pageBest.toFixed(0)} ms = ${(pageBest / nativeBest).toFixed(2)} x native (goal: at most 2.5)`);
  console.log(`   in the page, picked to converted (reading, copying, converting, answering): ${best('endToEnd').toFixed(0)} ms = ${(best('endToEnd') / nativeBest).toFixed(2)} x native`);
  console.log(`   runs (native / worker / page ms): ${results.map((r) => `${r.nativeMs.toFixed(0)}/${r.ms.toFixed(0)}/${r.endToEnd}`).join(', ')}; status ${results[0].status}`);
  console.log(`   the worker's peak memory: ${mib(Math.max(...results.map((r) => r.memory)))}`);
  console.log(`2. page weight without the font: ${weights.map((w) => `${w.name} ${w.raw}`).join(', ')} bytes`);
  console.log(`   as sent: gzip ${mib(total('gzip'))} (${total('gzip')} bytes), brotli ${mib(total('brotli'))} (${total('brotli')} bytes); goal: at most 1.5 MB`);
  console.log(`   the texts' font, fetched only for drawings with texts: ${fontWeights.map((w) => `${w.name} ${w.raw}`).join(', ') || 'none'} bytes;` +
    ` gzip ${mib(total('gzip', fontWeights))}, brotli ${mib(total('brotli', fontWeights))}`);
  console.log(`3. ${path.basename(sample)} (${statSync(sample).size} bytes) dropped to its first frame (goal: under 1 s):`);
  console.log(`   cold ${frames.map((f) => f[0]).join(', ')} ms; warm ${frames.map((f) => f[1]).join(', ')} ms`);
} finally {
  await browser.close();
  server.close();
  rmSync(work, { recursive: true, force: true });
}
