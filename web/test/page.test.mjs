// The page in headless Chromium, against the command line:
//   node test/page.test.mjs SITE_DIR TESSARO SAMPLES_DIR SCREENSHOT SHADOW_DIAGRAMS
// Every sample is dropped on the page; each format's documents (one download, and all files as
// one zip) equal the command line's with the page's option words, the creation and
// modification stamps aside. The layer tree shows the drawing's names and hides layers. Every
// sample, and a shadow diagram of each screen (written by the program SHADOW_DIAGRAMS), is
// shown on the background its pens were made for, whatever the light/dark option, and the
// pictures of the view show its lines; they are kept beside SCREENSHOT, with one of the page.
// Test5.jww with heights opens in 3D and raises a layer by its height field; pictures of it and
// of Test1.jww in 3D are left beside SCREENSHOT as screenshot-heights.png and
// screenshot-heights-Test1.png. Damaged, cut and foreign files and a layer named like
// markup get their messages, run no script, and the next file converts; so does the file after
// one whose worker failed. No request leaves the page's origin, and the page also works opened
// from the disk.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync, mkdirSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { unzipSync } from 'fflate';
import puppeteer from 'puppeteer-core';
import { serve } from '../serve.mjs';

const [siteDir, tessaro, samplesDir, screenshotPath, shadowDiagrams] = process.argv.slice(2).map((p) => path.resolve(p));
const samples = readdirSync(samplesDir).filter((f) => /\.jw[wsck]$/i.test(f)).sort();
if (samples.length === 0) {
  console.log(`test-web: no samples in ${samplesDir}; nothing checked`);
  process.exit(0);
}
const work = mkdtempSync(path.join(tmpdir(), 'tessaro-web-'));
const stem = (name) => name.replace(/\.[^.]*$/, '');
const withoutStamps = (bytes) => Buffer.from(bytes).toString('latin1').split('\n')
  .filter((line) => !line.includes('<created>') && !line.includes('<modified>')).join('\n');
const XSS = '<img src=x onerror=alert(1)>';
let checks = 0;
const check = (condition, message) => { assert.ok(condition, message); checks++; };

// ---- the command line's documents and the fixtures

function commandLine(words, outDir, files) {
  mkdirSync(outDir, { recursive: true });
  const args = words.map(([name, value]) => `--${name}=${value}`);
  return spawnSync(tessaro, [...args, '--out', outDir, ...files], { encoding: 'utf8' });
}

function glbJson(bytes) {
  const length = Buffer.from(bytes).readUInt32LE(12);
  return JSON.parse(Buffer.from(bytes).subarray(20, 20 + length).toString('utf8'));
}

// A layer name's bytes (a length byte, then Shift_JIS) replaced by markup in a copy of a sample.
function markupNamedDrawing() {
  const bytes = readFileSync(path.join(samplesDir, 'Ａマンション平面例.jww'));
  const name = Buffer.from([0x8a, 0xd4, 0x8e, 0x64, 0x90, 0xd8, 0x82, 0xe8]);  // 間仕切り
  const at = bytes.indexOf(Buffer.concat([Buffer.from([name.length]), name]));
  assert.ok(at > 0, 'the sample has the layer name the fixture replaces');
  return Buffer.concat([bytes.subarray(0, at), Buffer.from([XSS.length]), Buffer.from(XSS, 'latin1'), bytes.subarray(at + 1 + name.length)]);
}

function fixtures() {
  const sample = readFileSync(path.join(samplesDir, 'Test5.jww'));
  const damaged = Buffer.from(sample);
  damaged.fill(0xff, Math.floor(sample.length * 0.3), Math.floor(sample.length * 0.3) + 64);
  return {
    'damaged.jww': damaged,
    'cut.JWW': sample.subarray(0, Math.floor(sample.length * 0.6)),
    'picture.jww': Buffer.concat([Buffer.from('89504e470d0a1a0a', 'hex'), Buffer.alloc(300)]),
    'notes.txt': Buffer.from('not a drawing'),
    'markup.jww': markupNamedDrawing(),
    'after.jww': readFileSync(path.join(samplesDir, samples[0])),
  };
}

// ---- the page

async function open(browser, url, blocked, problems) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const origin = new URL(url).origin;
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    const target = request.url();
    const own = url.startsWith('file:') ? target.startsWith(url.slice(0, url.lastIndexOf('/') + 1)) : target.startsWith(`${origin}/`);
    if (own || target.startsWith('blob:') || target.startsWith('data:')) return request.continue();
    blocked.push(target);
    return request.abort();
  });
  page.on('dialog', (dialog) => { problems.push(`dialog: ${dialog.message()}`); dialog.dismiss(); });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForSelector('#options[data-words]');
  return page;
}

async function drop(page, files) {
  const list = Object.entries(files).map(([name, bytes]) => [name, Buffer.from(bytes).toString('base64')]);
  const before = await page.$$eval('#file-list .file', (items) => items.length);
  await page.evaluate((list) => {
    const transfer = new DataTransfer();
    for (const [name, base64] of list) {
      transfer.items.add(new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], name));
    }
    document.querySelector('#drop-zone').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, list);
  await page.waitForFunction((n) => document.querySelectorAll('#file-list .file').length === n &&
    [...document.querySelectorAll('#file-list .file')].every((item) => item.dataset.state === 'done'),
  { timeout: 120_000 }, before + list.length);
}

const entryOf = (page, name) => page.evaluateHandle((name) =>
  [...document.querySelectorAll('#file-list .file')].reverse().find((item) => item.querySelector('.file-name').textContent === name), name);

async function outcomeOf(page, name) {
  return (await entryOf(page, name)).evaluate((item) => ({ status: item.dataset.status, text: item.querySelector('.file-outcome').textContent }));
}

async function selectFile(page, name) {
  await (await entryOf(page, name)).click();
  await page.waitForFunction((name) => document.querySelector('#view').dataset.shown === name &&
    document.querySelector('#file-list .file.selected')?.dataset.state === 'done', { timeout: 60_000 }, name);
}

async function setOption(page, name, value) {
  await page.select(`#options select[name="${name}"]`, value);
  await page.waitForFunction(() => document.querySelector('#file-list .file.selected')?.dataset.state === 'done');
  return JSON.parse(await page.$eval('#options', (form) => form.dataset.words));
}

// Clicks the button and answers the downloaded file's bytes.
async function download(page, session, downloads, button) {
  const done = new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('no download')), 60_000);
    const listener = (event) => {
      if (event.state !== 'completed') return;
      clearTimeout(timer);
      session.off('Browser.downloadProgress', listener);
      resolve(event.guid);
    };
    session.on('Browser.downloadProgress', listener);
  });
  await page.click(button);
  return readFileSync(path.join(downloads, await done));
}

// ---- the checks

// Each format's documents with the first options, then with solids, texts (in the font the
// page serves, which the command line finds through fontconfig), filled point markers and arcs
// by angle too, against the command line's.
async function checkDocuments(page, session, downloads) {
  const files = samples.map((f) => path.join(samplesDir, f));
  await selectFile(page, samples[0]);
  const passes = ['dae', 'dae-compact', 'glb', 'more', 'dae', 'dae-compact', 'glb'];
  for (const [pass, format] of passes.entries()) {
    if (format === 'more') {
      await page.click('#options input[name="kinds-solids"]');
      await setOption(page, 'marker', '7');
      await setOption(page, 'arcs', 'angle');
      // The first conversion with texts loads the font: its outcome has every text drawn.
      await page.click('#options input[name="kinds-texts"]');
      await page.waitForFunction(() => document.querySelector('#file-list .file.selected')?.dataset.state === 'done');
      const outcome = await page.$eval('#file-list .file.selected .file-outcome', (o) => o.textContent);
      check(/\d/.test(outcome) && !/font|フォント/.test(outcome), `with texts, the font is loaded and used: ${outcome}`);
      continue;
    }
    const words = await setOption(page, 'format', format);
    const outDir = path.join(work, 'cli', `${pass}-${format}`);
    const run = commandLine(words, outDir, files);
    assert.equal(run.status, 0, `the command line converts the samples: ${run.stderr}`);
    const extension = format === 'glb' ? 'glb' : 'dae';
    const expected = (name) => readFileSync(path.join(outDir, `${stem(name)}.${extension}`));
    const same = (a, b) => (extension === 'dae' ? withoutStamps(a) === withoutStamps(b) : Buffer.compare(Buffer.from(a), Buffer.from(b)) === 0);

    const one = await download(page, session, downloads, '#download');
    check(same(one, expected(samples[0])), `${words.flat().join(' ')}: the download of ${samples[0]} is the command line's document`);
    const zip = unzipSync(new Uint8Array(await download(page, session, downloads, '#download-all')));
    check(Object.keys(zip).length === samples.length, `${words.flat().join(' ')}: the zip holds every sample's document`);
    for (const name of samples) {
      const entry = zip[`${stem(name)}.${extension}`];
      check(entry && same(entry, expected(name)), `${words.flat().join(' ')}: ${name}'s document in the zip is the command line's`);
    }
  }
  return path.join(work, 'cli', `${passes.length - 1}-glb`);
}

// The view's pixels counted per colour (0xRRGGBB), its first pixel's colour, and the
// background the view says it is on.
async function viewColours(page) {
  const seen = await page.evaluate(() => {
    const source = document.querySelector('#view canvas');
    const canvas = document.createElement('canvas');
    [canvas.width, canvas.height] = [source.width, source.height];
    const context = canvas.getContext('2d');
    context.drawImage(source, 0, 0);
    const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
    const counts = new Map();
    for (let i = 0; i < pixels.length; i += 4) {
      const key = (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
      counts.set(key, (counts.get(key) ?? 0) + 1);
    }
    return { counts: [...counts], all: pixels.length / 4, first: (pixels[0] << 16) | (pixels[1] << 8) | pixels[2],
      background: document.querySelector('#view').dataset.background };
  });
  return { ...seen, counts: new Map(seen.counts) };
}

// The share of the view's pixels unlike its first, and how many colours each cover a share of it.
async function viewPixels(page) {
  const { counts, all, first } = await viewColours(page);
  return { share: 1 - counts.get(first) / all, colours: [...counts.values()].filter((n) => n > all * 0.002).length - 1 };
}

async function checkView(page, glbDir) {
  const name = samples.find((f) => f.startsWith('Ａマンション')) ?? samples[0];
  await selectFile(page, name);
  const json = glbJson(readFileSync(path.join(glbDir, `${stem(name)}.glb`)));
  const expected = json.nodes.filter((node) => node.extras).map((node) => node.name);
  const shown = await page.$$eval('#layer-tree .name', (names) => names.map((n) => n.textContent));
  check(JSON.stringify(shown) === JSON.stringify(expected), `the layer tree shows the drawing's groups and layers: ${shown.join('|')}`);

  const counts = () => page.$eval('#view-status', (s) => Number(s.dataset.segments) + Number(s.dataset.triangles));
  const all = await counts();
  const layerBox = (await page.$$('#layer-tree ul ul input[type="checkbox"]'))[0];
  await layerBox.click();
  const hidden = await counts();
  check(hidden < all, `hiding a layer removes its objects from the scene (${all} -> ${hidden})`);
  await layerBox.click();
  check(await counts() === all, 'showing it again brings them back');

  await page.click('#top-view');
  await (await page.$('#view')).screenshot({ path: screenshotPath });
  await page.screenshot({ path: path.join(path.dirname(screenshotPath), 'page.png'), clip: { x: 0, y: 0, width: 1200, height: 640 } });
}

// The view's background ("light" or "dark"), whether its canvas shows that colour at its
// corner, and the share of the canvas's pixels unlike it: the drawing's lines.
async function viewPicture(page) {
  const { counts, all, first, background } = await viewColours(page);
  const colour = background === 'light' ? 0xFFFFFF : 0;
  return { background, corner: first === colour, share: 1 - (counts.get(colour) ?? 0) / all };
}

// Every sample and both shadow diagrams on the background their pens were made for: the
// shadow diagrams on their own, and every drawing on the same one whatever the light/dark
// option, which picks only the default pens, unused by a drawing with pens of its own. (That
// each sample's own background shows its lines is checked on every sample by the C++ tests.)
async function checkBackgrounds(page) {
  execFileSync(shadowDiagrams, [work]);
  const own = { 'shadow-light.jww': 'light', 'shadow-dark.jww': 'dark' };
  await drop(page, Object.fromEntries(Object.keys(own).map((name) => [name, readFileSync(path.join(work, name))])));
  const shares = [], first = {};
  for (const option of ['dark', 'light']) {
    await setOption(page, 'background', option);
    for (const name of [...samples, ...Object.keys(own)]) {
      await selectFile(page, name);
      const shown = await viewPicture(page);
      first[name] ??= shown.background;
      check(shown.corner && (own[name] ?? first[name]) === shown.background,
        `${name} with the option ${option}: the view is on ${shown.background}, not on the drawing's own background`);
      // A view of the right background shows lines; the shadow diagrams, mostly in pen 2, would
      // show their few rays alone on the other.
      const least = name in own ? 0.01 : 0.0005;
      check(shown.share > least, `${name} with the option ${option}: ${(shown.share * 100).toFixed(2)}% of the view shows its lines`);
      if (name in own && option === own[name]) {
        await (await page.$('#view')).screenshot({ path: screenshotPath.replace(/\.png$/, `-${stem(name)}.png`) });
      }
      if (option === 'dark') shares.push(`${stem(name)} ${shown.background} ${(shown.share * 100).toFixed(1)}%`);
    }
  }
  console.log(`test-web: the views' lines: ${shares.join(', ')}`);
  await setOption(page, 'background', 'dark');
}

// Test5.jww with heights opens in 3D, its walls in several shades, and is the command line's
// document; a layer's height field raises it, kept with the options; the two view buttons; the
// height texts beyond 10,000 m are told.
async function checkHeights(page, session, downloads) {
  const name = 'Test5.jww';
  if (!samples.includes(name)) return;
  const viewIs = (camera) => page.waitForFunction((camera) => document.querySelector('#view').dataset.camera === camera, {}, camera);
  await selectFile(page, name);
  check(await page.$eval('#view', (v) => v.dataset.raised) === 'false', 'without heights the drawing is flat');
  // The sample's pens are black: its picture on a light background.
  if (await page.$('#options select[name="background"]')) await setOption(page, 'background', 'light');
  await page.click('#options input[name="heights"]');
  await page.waitForFunction(() => document.querySelector('#file-list .file.selected')?.dataset.state === 'done' &&
    document.querySelector('#view').dataset.raised === 'true');
  await viewIs('3d');
  await (await page.$('#view')).screenshot({ path: path.join(path.dirname(screenshotPath), 'screenshot-heights.png') });
  const lit = await viewPixels(page);
  check(lit.share > 0.03 && lit.colours >= 4, `the model in 3D shows its walls in shades: ${(lit.share * 100).toFixed(1)}% of the view, ${lit.colours} colours`);
  const sameAsCommandLine = async (what) => {
    const words = JSON.parse(await page.$eval('#options', (form) => form.dataset.words));
    const run = commandLine(words, path.join(work, 'cli', what), [path.join(samplesDir, name)]);
    const one = await download(page, session, downloads, '#download');
    check(run.status === 0 && Buffer.compare(one, readFileSync(path.join(work, 'cli', what, `${stem(name)}.glb`))) === 0,
      `${words.flat().join(' ')}: the download of ${name} is the command line's`);
  };
  await sameAsCommandLine('heights');
  const field = await page.$('#layer-tree input.layer-height');
  const position = (await field.evaluate((f) => f.name)).replace('extrude-', '');
  await page.$eval('#layer-tree > ul', (tree) => { tree.dataset.before = 'yes'; });
  await field.type('3.5');
  await field.press('Enter');
  // Converted again and shown: a new tree.
  await page.waitForFunction((p) => JSON.parse(document.querySelector('#options').dataset.words).some(([n, v]) => n === 'extrude' && v === `${p}=3.5`) &&
    !document.querySelector('#layer-tree > ul').dataset.before, {}, position);
  await sameAsCommandLine('extrude');
  const kept = await page.evaluate(() => JSON.parse(localStorage.getItem('tessaro.options')).extrude);
  check(kept[position] === '3.5', `the layer's height is kept with the options: ${JSON.stringify(kept)}`);
  check(await page.$eval(`#layer-tree input[name="extrude-${position}"]`, (f) => f.value) === '3.5', 'the tree shows the height after the conversion');
  await page.$eval(`#layer-tree input[name="extrude-${position}"]`, (f) => { f.value = ''; f.dispatchEvent(new Event('change')); });
  await page.waitForFunction(() => !document.querySelector('#options').dataset.words.includes('extrude') &&
    document.querySelector('#file-list .file.selected')?.dataset.state === 'done');
  for (const [button, camera] of [['#top-view', 'top'], ['#view-3d', '3d']]) await page.click(button).then(() => viewIs(camera));
  const beyond = readFileSync(path.join(samplesDir, name));
  const marks = beyond.toString('latin1').split('\x0611.800').length - 1;
  await drop(page, { 'beyond.jww': Buffer.from(beyond.toString('latin1').replaceAll('\x0611.800', '\x06118000'), 'latin1') });
  const told = await outcomeOf(page, 'beyond.jww');
  check(marks > 0 && told.text.includes(`${marks} `) && told.text.includes('10,000'), `the height texts beyond 10,000 m are told: ${told.text}`);
  // A building with heights, for a picture: Test1.jww, without its notes.
  if (samples.includes('Test1.jww')) {
    await page.click('#options input[name="kinds-texts"]');
    await selectFile(page, 'Test1.jww');
    check(await page.$eval('#view', (v) => v.dataset.raised) === 'true', 'Test1.jww with heights opens in 3D');
    await (await page.$('#view')).screenshot({ path: path.join(path.dirname(screenshotPath), 'screenshot-heights-Test1.png') });
  }
  await selectFile(page, name);
  await page.click('#options input[name="heights"]');
  await page.waitForFunction(() => document.querySelector('#view').dataset.raised === 'false');
}

async function checkBadFiles(page) {
  const files = fixtures();
  for (const [name, bytes] of Object.entries(files)) writeFileSync(path.join(work, name), bytes);
  const damage = commandLine([['format', 'glb']], path.join(work, 'bad'), [path.join(work, 'damaged.jww')]);
  const offset = Number(/byte (\d+)/.exec(damage.stderr)?.[1]);
  check(offset > 0, 'the command line finds the damaged fixture damaged');
  await drop(page, files);
  const damaged = await outcomeOf(page, 'damaged.jww');
  check(damaged.status === 'damaged' && damaged.text.replace(/[,，]/g, '').includes(String(offset)), `damaged: ${damaged.text}`);
  check((await outcomeOf(page, 'cut.JWW')).status === 'damaged', 'a cut file is damaged');
  check((await outcomeOf(page, 'picture.jww')).status === 'not-this-format', 'a file of another kind is no Jw_cad file');
  check((await outcomeOf(page, 'notes.txt')).status === 'not-jw-name', 'a file of another name is no Jw_cad file');
  check((await outcomeOf(page, 'after.jww')).status === 'ok', 'the file after them converts');
  await selectFile(page, 'markup.jww');
  const names = await page.$$eval('#layer-tree .name', (n) => n.map((e) => e.textContent));
  check(names.includes(XSS), 'a layer named like markup shows its name as text');
  check(await page.$$eval('img', (images) => images.length) === 0, 'and no element is made of it');
}

// A worker that fails is replaced: the file it was converting is reported, the next converts.
async function checkWorkerFailure(page) {
  const workers = page.workers();
  check(workers.length === 1, 'the page converts in one worker');
  await workers[0].evaluate(() => { self.onmessage = () => { throw new Error('the engine failed'); }; });
  const sample = readFileSync(path.join(samplesDir, samples[0]));
  await drop(page, { 'failing.jww': sample });
  check((await outcomeOf(page, 'failing.jww')).status === 'failed', 'a file whose worker fails is reported');
  await drop(page, { 'next.jww': sample });
  check((await outcomeOf(page, 'next.jww')).status === 'ok', 'the next file converts in a new worker');
  problems.splice(0, problems.length, ...problems.filter((p) => !p.includes('the engine failed')));
}

async function checkFromDisk(browser, blocked, problems) {
  const page = await open(browser, pathToFileURL(path.join(siteDir, 'index.html')).href, blocked, problems);
  await drop(page, { [samples[0]]: readFileSync(path.join(samplesDir, samples[0])) });
  check((await outcomeOf(page, samples[0])).status === 'ok', 'the page opened from the disk converts');
  await page.close();
}

const blocked = [], problems = [];
const { server, url, served } = await serve(siteDir);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  userDataDir: path.join(work, 'profile'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
try {
  const page = await open(browser, url, blocked, problems);
  const session = await browser.target().createCDPSession();
  const downloads = path.join(work, 'downloads');
  await session.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: downloads, eventsEnabled: true });
  await drop(page, Object.fromEntries(samples.map((f) => [f, readFileSync(path.join(samplesDir, f))])));
  for (const name of samples) check((await outcomeOf(page, name)).status === 'ok', `${name} converts`);
  const glbDir = await checkDocuments(page, session, downloads);
  await checkView(page, glbDir);
  await checkBackgrounds(page);
  await checkHeights(page, session, downloads);
  await checkBadFiles(page);
  await checkWorkerFailure(page);
  await checkFromDisk(browser, blocked, problems);
  check(problems.length === 0, `no script ran and nothing failed in the page: ${problems.join('; ')}`);
  check(blocked.length === 0, `no request left the page's origin: ${blocked.join(', ')}`);
  check(served.every((p) => ['/', '/index.html', '/app.js', '/style.css', '/favicon.ico', '/fonts/ipaexg.ttf'].includes(p)), `only the page's files were asked for: ${served.join(', ')}`);
  console.log(`test-web: ${checks} checks passed (${samples.length} samples); screenshots ${screenshotPath}, ${path.join(path.dirname(screenshotPath), 'screenshot-heights.png')}`);
} finally {
  await browser.close();
  server.close();
  rmSync(work, { recursive: true, force: true });
}
