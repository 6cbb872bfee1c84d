// The command line's options as a table: one row per option, its kind of control, its first
// value and the words it gives the engine (tessaro_options_set: the word without its dashes).
// A new option is one row here and its label texts in texts.js. The values are kept in the
// browser's storage.
import { text } from './texts.js';

const KINDS = ['hidden', 'aux', 'dims', 'hatch', 'points', 'solids', 'texts'];
const MARKERS = ['＋', '×', '□', '◇', '○', '■', '◆', '●'];

export const OPTIONS = [
  { key: 'format', kind: 'choice', choices: ['dae', 'dae-compact', 'glb', 'dxf'], initial: 'dae' },
  { key: 'scale', kind: 'choice', choices: ['1', '10', '100', '1000'], label: (c) => `×${c}`, initial: '1' },
  {
    key: 'arcs', kind: 'arcs', modes: ['count', 'angle', 'length'],
    initial: { mode: 'count', count: '12', angle: '10', length: '10', min: '4' },
    words: (v) => [['arcs', v.mode === 'count' ? `count:${v.count}` : `${v.mode}:${v[v.mode]}:${v.min}`]],
  },
  { key: 'marker', kind: 'choice', choices: MARKERS.map((m, i) => String(i)), label: (c) => MARKERS[c], initial: '0' },
  { key: 'marker-size', kind: 'number', min: 0.00001, max: 10000, initial: '1' },
  {
    key: 'kinds', kind: 'set', members: KINDS, initial: ['hidden', 'aux', 'dims', 'hatch', 'points'],
    words: (v) => [
      ...(v.length ? [['include', v.join(',')]] : []),
      ...(KINDS.some((k) => !v.includes(k)) ? [['exclude', KINDS.filter((k) => !v.includes(k)).join(',')]] : []),
    ],
  },
  { key: 'background', kind: 'choice', choices: ['dark', 'light'], initial: 'dark' },
  { key: 'heights', kind: 'switch', initial: false, words: (v) => (v ? [['heights', 'm']] : []) },
  // Each layer's height in metres by its position ("0-1"), set in the layer tree, not here.
  {
    key: 'extrude', kind: 'layer-heights', initial: {},
    words: (v) => Object.keys(v).sort().map((position) => ['extrude', `${position}=${v[position]}`]),
  },
];

const STORAGE_KEY = 'tessaro.options';

// The values kept in storage over the first values; a stored value of the wrong shape is dropped.
export function loadValues() {
  let stored = {};
  try {
    stored = JSON.parse(localStorage.getItem(STORAGE_KEY) ?? '{}') ?? {};
  } catch {
    stored = {};
  }
  const values = {};
  for (const row of OPTIONS) {
    const kept = stored[row.key];
    values[row.key] = isValid(row, kept) ? kept : structuredClone(row.initial);
  }
  return values;
}

export function saveValues(values) {
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify(values));
  } catch {
    // Storage may be off (private windows, some file:// pages): the options last this visit.
  }
}

function isValid(row, value) {
  switch (row.kind) {
    case 'choice': return row.choices.includes(value);
    case 'number': return typeof value === 'string' && value.trim() !== '' && Number.isFinite(Number(value));
    case 'set': return Array.isArray(value) && value.every((m) => row.members.includes(m));
    case 'arcs': return value !== null && typeof value === 'object' && row.modes.includes(value.mode) &&
      ['count', 'angle', 'length', 'min'].every((k) => typeof value[k] === 'string' && Number.isFinite(Number(value[k])));
    case 'switch': return typeof value === 'boolean';
    case 'layer-heights': return value !== null && typeof value === 'object' && !Array.isArray(value) &&
      Object.entries(value).every(([k, v]) => /^[0-9A-F]-[0-9A-F]$/.test(k) && isHeight(v));
    default: return false;
  }
}

// A layer's height as the layer tree keeps it: a decimal in metres other than 0, within the
// engine's 10,000 m.
export function isHeight(value) {
  return typeof value === 'string' && /^-?(\d+\.?\d*|\.\d+)$/.test(value) && Number(value) !== 0 &&
    Math.abs(Number(value)) <= 10000;
}

// The engine's words for the values, in table order.
export function wordsOf(values) {
  return OPTIONS.flatMap((row) => (row.words ? row.words(values[row.key]) : [[row.key, String(values[row.key])]]));
}

// The controls of every row into `form`; onChange(values) after each change.
export function buildControls(form, values, onChange) {
  const changed = () => {
    saveValues(values);
    onChange(values);
  };
  for (const row of OPTIONS) {
    if (!CONTROLS[row.kind]) continue;  // set elsewhere (the layer heights, in the layer tree)
    const field = document.createElement('fieldset');
    field.className = `option option-${row.kind}`;
    const legend = document.createElement('legend');
    legend.textContent = text(`option.${row.key}`);
    field.append(legend);
    CONTROLS[row.kind](field, row, values, changed);
    form.append(field);
  }
}

function select(choices, current, label, onPick) {
  const element = document.createElement('select');
  for (const choice of choices) {
    const option = document.createElement('option');
    option.value = choice;
    option.textContent = label(choice);
    element.append(option);
  }
  element.value = current;
  element.addEventListener('change', () => onPick(element.value));
  return element;
}

// A box for a number; `whole` (a flag, or a function answering one) rounds what is typed to a
// whole number, as segment counts are.
function numberBox(current, row, onValue, whole = false) {
  const element = document.createElement('input');
  element.type = 'number';
  element.step = 'any';
  if (row?.min !== undefined) element.min = String(row.min);
  if (row?.max !== undefined) element.max = String(row.max);
  element.value = current;
  element.addEventListener('change', () => {
    // The engine clamps numbers as the window does; a box left empty or unreadable keeps its value.
    if (element.value.trim() === '' || !Number.isFinite(Number(element.value))) return;
    if (typeof whole === 'function' ? whole() : whole) element.value = String(Math.round(Number(element.value)));
    onValue(element.value.trim());
  });
  return element;
}

const CONTROLS = {
  choice(field, row, values, changed) {
    const label = row.label ?? ((choice) => text(`option.${row.key}.${choice}`));
    field.append(select(row.choices, values[row.key], label, (v) => { values[row.key] = v; changed(); }));
    field.querySelector('select').name = row.key;
  },
  number(field, row, values, changed) {
    const box = numberBox(values[row.key], row, (v) => { values[row.key] = v; changed(); });
    box.name = row.key;
    field.append(box);
  },
  set(field, row, values, changed) {
    for (const member of row.members) {
      const label = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.name = `${row.key}-${member}`;
      box.checked = values[row.key].includes(member);
      box.addEventListener('change', () => {
        values[row.key] = row.members.filter((m) => (m === member ? box.checked : values[row.key].includes(m)));
        changed();
      });
      label.append(box, ` ${text(`option.${row.key}.${member}`)}`);
      field.append(label);
    }
  },
  arcs(field, row, values, changed) {
    const value = values[row.key];
    const modeSelect = select(row.modes, value.mode, (m) => text(`option.${row.key}.${m}`), (m) => {
      value.mode = m;
      show();
      changed();
    });
    modeSelect.name = row.key;
    const amount = numberBox(value[value.mode], null, (v) => { value[value.mode] = v; changed(); }, () => value.mode === 'count');
    amount.name = `${row.key}-amount`;
    const minLabel = document.createElement('label');
    const min = numberBox(value.min, null, (v) => { value.min = v; changed(); }, true);
    min.name = `${row.key}-min`;
    minLabel.append(`${text(`option.${row.key}.min`)} `, min);
    const show = () => {
      amount.value = value[value.mode];
      minLabel.hidden = value.mode === 'count';
    };
    show();
    field.append(modeSelect, amount, minLabel);
  },
  switch(field, row, values, changed) {
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.name = row.key;
    box.checked = values[row.key];
    box.addEventListener('change', () => { values[row.key] = box.checked; changed(); });
    field.append(box);
  },
};
