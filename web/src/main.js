// The page: drawings dropped or picked become a list, each converted in the worker with the
// options of the moment; the selected one is shown in 3D and its document can be downloaded,
// and every file's document together as one zip.
import { zipSync } from 'fflate';
import { Converter } from './converter.js';
import { buildControls, isHeight, loadValues, saveValues, wordsOf } from './options.js';

// The font texts are drawn in, served beside the page (IPAexGothic, under the IPA Font License)
// and fetched by the worker only when a drawing has texts to draw.
const FONT_URL = new URL('fonts/ipaexg.ttf', location.href).href;
import { language, text } from './texts.js';
import { DrawingView3D } from './view3d.js';

const KINDS = ['jww', 'jws', 'jwc', 'jwk'];
const EXTENSIONS = { dae: 'dae', 'dae-compact': 'dae', glb: 'glb', dxf: 'dxf' };
const $ = (selector) => document.querySelector(selector);

const converter = new Converter();
const values = loadValues();
const entries = [];
let selected = null;
let nextEntry = 1;

function stemOf(name) {
  const dot = name.lastIndexOf('.');
  return dot > 0 ? name.slice(0, dot) : name;
}

function kindOf(name) {
  const dot = name.lastIndexOf('.');
  const extension = dot >= 0 ? name.slice(dot + 1).toLowerCase() : '';
  return KINDS.includes(extension) ? extension : null;
}

// The outcome of a conversion in plain words.
function outcomeText(answer) {
  if (answer.crashed) return text('outcome.failed');
  const r = answer.result;
  const numbers = {
    segments: r.segments?.toLocaleString(language), triangles: r.triangles?.toLocaleString(language),
    layers: r.layers, offset: r.readOffset?.toLocaleString(language), option: r.option,
    texts: r.textsWithoutFont, glyphs: r.missingGlyphs, heights: r.heightsOutOfRange?.toLocaleString(language),
  };
  return text(`outcome.${r.status}`, numbers) + (r.textsWithoutFont ? text('outcome.no-font', numbers) : '') +
    (r.missingGlyphs ? text('outcome.missing-glyphs', numbers) : '') +
    (r.heightsOutOfRange ? text('outcome.heights-out-of-range', numbers) : '');
}

function fillTexts() {
  document.documentElement.lang = language;
  document.title = text('title');
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = text(element.dataset.text);
}

// ---- the file list

function addEntry(file) {
  const entry = { id: nextEntry++, name: file.name, kind: kindOf(file.name), state: 'waiting', item: null };
  entry.item = document.createElement('li');
  entry.item.className = 'file';
  entry.item.tabIndex = 0;
  const name = document.createElement('span');
  name.className = 'file-name';
  name.textContent = file.name;
  const outcome = document.createElement('span');
  outcome.className = 'file-outcome';
  entry.item.append(name, outcome);
  entry.item.addEventListener('click', () => select(entry));
  entry.item.addEventListener('keydown', (event) => { if (event.key === 'Enter' || event.key === ' ') select(entry); });
  entries.push(entry);
  $('#file-list').append(entry.item);
  $('#no-files').hidden = true;
  return entry;
}

function showState(entry) {
  const outcome = entry.item.querySelector('.file-outcome');
  entry.item.dataset.state = entry.state;
  if (entry.state === 'done') {
    outcome.textContent = entry.outcome;
    entry.item.dataset.status = entry.status;
    // For the benchmarks: the engine's time in the worker and the worker's memory.
    if (entry.milliseconds !== undefined) entry.item.dataset.ms = entry.milliseconds.toFixed(1);
    if (entry.memory !== undefined) entry.item.dataset.memory = String(entry.memory);
  } else {
    outcome.textContent = text(`state.${entry.state}`);
  }
  entry.item.classList.toggle('selected', entry === selected);
  const convertible = entries.filter((e) => e.kind);
  const done = convertible.filter((e) => e.state === 'done').length;
  $('#progress').max = Math.max(convertible.length, 1);
  $('#progress').value = done;
  $('#progress-text').textContent = text('progress', { done, total: convertible.length });
  updateButtons();
}

async function addFiles(files) {
  const dropped = performance.now();
  const added = [];
  for (const file of files) {
    const entry = addEntry(file);
    entry.dropped = dropped;
    if (entry.kind) added.push([entry, file]);
    else Object.assign(entry, { state: 'done', status: 'not-jw-name', outcome: text('outcome.not-jw-name') });
    showState(entry);
  }
  // The page keeps each File, a handle: the worker reads it for every conversion, so a drawing's
  // bytes are never held or copied by the page.
  const readable = added.map(([entry, file]) => Object.assign(entry, { file }));
  if (readable.length) select(readable[0]);  // each drop shows its first drawing
  await Promise.all(readable.map((entry) => convert(entry)));
}

// Converts the entry with the options of the moment; the selected entry's drawing is shown.
async function convert(entry) {
  const words = wordsOf(values);
  const key = JSON.stringify(words);
  const wantView = entry === selected;
  entry.state = 'converting';
  showState(entry);
  const answer = await converter.convert({ file: entry.file, kind: entry.kind, words, name: stemOf(entry.name), view: wantView, fontUrl: FONT_URL });
  entry.state = 'done';
  entry.status = answer.crashed ? 'failed' : answer.result.status;
  entry.outcome = outcomeText(answer);
  entry.document = answer.result?.document ?? null;
  entry.format = words.find(([name]) => name === 'format')[1];
  entry.key = key;
  entry.glb = answer.view ?? null;
  // The background the drawing's pens were made for; for a drawing without pens of its own,
  // the one the light/dark option picked its default pens for.
  entry.background = answer.result?.backgroundAfter ?? null;
  entry.milliseconds = answer.milliseconds;
  entry.memory = answer.memory;
  showState(entry);
  if (entry !== selected) return;
  // Selected while its conversion ran without the view: once more, with it.
  if (!entry.glb && entry.document) return convert(entry);
  await showSelected();
}

function isCurrent(entry) {
  return entry.state === 'done' && entry.key === JSON.stringify(wordsOf(values));
}

async function select(entry) {
  if (selected === entry) return;
  const before = selected;
  selected = entry;
  if (before) showState(before);
  showState(entry);
  if (!entry.kind) {
    view.setBackground(values.background);
    return view.clear();
  }
  if (entry.state !== 'done') return;  // shown when its conversion ends
  if (isCurrent(entry) && entry.glb) return showSelected();
  await convert(entry);
}

async function showSelected() {
  const entry = selected;
  $('#view-title').textContent = entry.name;
  if (!entry.glb) {
    view.setBackground(values.background);
    return view.clear();
  }
  view.setBackground(entry.background ?? values.background);
  await view.show(entry.glb);
  if (entry.dropped !== undefined && entry.firstFrame === undefined) {
    entry.firstFrame = performance.now() - entry.dropped;
    $('#view').dataset.firstFrameMs = String(Math.round(entry.firstFrame));
  }
  $('#view').dataset.shown = entry.name;
}

// ---- downloads

function updateButtons() {
  $('#download').disabled = !(selected?.kind && selected.state === 'done' && selected.document);
  $('#download-all').disabled = !entries.some((e) => e.kind && e.state === 'done' && e.document);
}

function save(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}

function documentName(entry) {
  return `${stemOf(entry.name)}.${EXTENSIONS[entry.format]}`;
}

async function downloadSelected() {
  const entry = selected;
  if (!isCurrent(entry)) await convert(entry);
  if (entry.document) save(entry.document, documentName(entry), 'application/octet-stream');
}

async function downloadAll() {
  const wanted = entries.filter((e) => e.kind);
  for (const entry of wanted) if (!isCurrent(entry)) await convert(entry);
  const files = {};
  for (const entry of wanted) {
    if (!entry.document) continue;
    // Two drawings of one name (plan.jww, plan.jwc) keep both documents: the later is numbered.
    let name = documentName(entry), n = 2;
    while (name in files) name = `${stemOf(documentName(entry))} (${n++}).${EXTENSIONS[entry.format]}`;
    files[name] = [entry.document, { level: 6 }];
  }
  save(zipSync(files), 'tessaro.zip', 'application/zip');
}

// ---- start

fillTexts();
async function optionsChanged() {
  $('#options').dataset.words = JSON.stringify(wordsOf(values));
  // A drawing shown keeps its own background until it is shown again, converted anew.
  if (!selected?.glb) view.setBackground(values.background);
  for (const entry of entries) showState(entry);
  if (selected?.kind && selected.state === 'done') await convert(selected);
}

// A layer's height typed in the layer tree: kept with the options; a value that is no height
// drops the layer's.
function layerHeightChanged(position, value) {
  if (isHeight(value)) values.extrude[position] = value;
  else if (position in values.extrude) delete values.extrude[position];
  else return;
  saveValues(values);
  optionsChanged();
}

const view = new DrawingView3D($('#view'), $('#layer-tree'), $('#view-status'),
  { heightOf: (position) => values.extrude[position] ?? '', onHeight: layerHeightChanged });
if (!view.available) $('#view-status').textContent = 'WebGL is not available: the 3D view is off.';
view.setBackground(values.background);
buildControls($('#options'), values, optionsChanged);
$('#options').dataset.words = JSON.stringify(wordsOf(values));
$('#top-view').addEventListener('click', () => view.topView());
$('#view-3d').addEventListener('click', () => view.view3D());
$('#download').addEventListener('click', downloadSelected);
$('#download-all').addEventListener('click', downloadAll);
$('#picker').addEventListener('change', (event) => {
  addFiles([...event.target.files]);
  event.target.value = '';
});
const zone = $('#drop-zone');
for (const name of ['dragenter', 'dragover']) {
  zone.addEventListener(name, (event) => {
    event.preventDefault();
    zone.classList.add('over');
  });
}
zone.addEventListener('dragleave', () => zone.classList.remove('over'));
zone.addEventListener('drop', (event) => {
  event.preventDefault();
  zone.classList.remove('over');
  addFiles([...event.dataTransfer.files]);
});
// A file dropped beside the zone is not opened by the browser in place of the page.
window.addEventListener('dragover', (event) => event.preventDefault());
window.addEventListener('drop', (event) => event.preventDefault());
updateButtons();
