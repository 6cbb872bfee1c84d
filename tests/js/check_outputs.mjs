// Checks the converter's documents in real clients. Usage: node check_outputs.mjs FOLDER
// FOLDER holds dae/, dae-compact/ and glb/ with one document per drawing. For every drawing:
// the Khronos validator reports no error and no warning on the .glb; three.js loads the .glb
// (GLTFLoader) and the compact .dae (ColladaLoader) with the segments and triangles the
// default .dae declares; and every segment and triangle of the compact .dae shows, whatever
// the lights, the colour (within 1/255) of the .glb's material of its colour. Prints one line
// per drawing; exits 1 on any failure.
import fs from 'node:fs';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { DOMParser } from '@xmldom/xmldom';
import validator from 'gltf-validator';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { ColladaLoader } from 'three/examples/jsm/loaders/ColladaLoader.js';

globalThis.DOMParser = DOMParser;
// The loaders' notes (file version, Z-up handling) are not findings.
console.warn = console.debug = () => {};

// Segments and triangles the default document declares.
function declaredCounts(text) {
  let segments = 0, triangles = 0;
  for (const m of text.matchAll(/<lines count="(\d+)"/g)) segments += Number(m[1]);
  for (const m of text.matchAll(/<triangles count="(\d+)"/g)) triangles += Number(m[1]);
  return { segments, triangles };
}

// Segments and triangles of a loaded three.js scene.
function sceneCounts(root) {
  let segments = 0, triangles = 0;
  root.traverse((o) => {
    if (!o.geometry) return;
    const g = o.geometry;
    const n = g.index ? g.index.count : g.attributes.position.count;
    const groups = g.groups.length ? g.groups : [{ start: 0, count: n }];
    for (const group of groups) {
      const count = Math.min(group.count, n - group.start);
      if (o.isLineSegments) segments += count / 2;
      else if (o.isMesh) triangles += count / 3;
    }
  });
  return { segments, triangles };
}

// The colour a loaded object shows whatever the lights, or a text saying why it has none: a
// material without lighting shows its colour; a lit one only its emissive colour, and only
// when its own colour is black (so lights add nothing).
function shownColor(object) {
  const m = object.material;
  if (Array.isArray(m)) return `${m.length} materials on one object`;
  if (object.isLineSegments) return m.isLineBasicMaterial ? m.color : `${m.type} on segments`;
  if (m.isMeshBasicMaterial) return m.color;
  if (m.emissive && m.color.getHex() === 0) return m.emissive;
  return `lit ${m.type} (colour #${m.color.getHexString()}) on triangles`;
}

// Per glTF material name, its colour (the .glb's materials are unlit).
function glbColors(scene) {
  const colors = new Map();
  scene.traverse((o) => o.material && colors.set(o.material.name, o.material.color));
  return colors;
}

// Every object of the compact document against the glTF colour of its geometry's colour
// number (geometry "layer<h>-C<s>", material "DefColor<s>").
function compareCompactColors(collada, glb, problems) {
  const colorOf = new Map();
  for (const [id, geometry] of Object.entries(collada.library.geometries))
    for (const built of Object.values(geometry.build || {})) colorOf.set(built.data, 'DefColor' + id.split('-C')[1]);
  let compared = 0;
  collada.scene.traverse((o) => {
    if (!o.material) return;
    const name = colorOf.get(o.geometry), color = shownColor(o), expected = glb.get(name);
    if (typeof color === 'string') problems.push(`dae-compact ${name}: ${color}`);
    else if (!expected) problems.push(`dae-compact ${name}: no such glb material`);
    else if (['r', 'g', 'b'].some((c) => Math.abs(color[c] - expected[c]) > 1 / 255))
      problems.push(`dae-compact ${name}: #${color.getHexString()}, glb #${expected.getHexString()}`);
    else ++compared;
  });
  return compared;
}

async function loadGlb(file) {
  const bytes = fs.readFileSync(file);
  const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
  return new Promise((resolve, reject) => new GLTFLoader().parse(buffer, '', (g) => resolve(g.scene), reject));
}

async function checkDrawing(folder, name) {
  const problems = [];
  const expected = declaredCounts(fs.readFileSync(path.join(folder, 'dae', name + '.dae'), 'utf8'));
  const glbPath = path.join(folder, 'glb', name + '.glb');
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(glbPath)));
  const { numErrors, numWarnings, messages } = report.issues;
  if (numErrors || numWarnings)
    problems.push(`validator: ${numErrors} errors, ${numWarnings} warnings: ` +
      JSON.stringify(messages.filter((m) => m.severity <= 1).slice(0, 3)));
  let start = performance.now();
  const glbScene = await loadGlb(glbPath);
  const glbMs = performance.now() - start;
  const glb = sceneCounts(glbScene);
  start = performance.now();
  const daeText = fs.readFileSync(path.join(folder, 'dae-compact', name + '.dae'), 'utf8');
  const collada = new ColladaLoader().parse(daeText, '');
  const daeMs = performance.now() - start;
  const dae = sceneCounts(collada.scene);
  const colored = compareCompactColors(collada, glbColors(glbScene), problems);
  // Every drawing we hold writes texts: their outlines hang from each layer's "text" node.
  let textSegments = 0;
  glbScene.traverse((o) => o.name === 'text' && (textSegments += sceneCounts(o).segments));
  if (textSegments === 0) problems.push('glb: no segments under a "text" node');
  for (const [label, got] of [['glb', glb], ['dae-compact', dae]])
    if (got.segments !== expected.segments || got.triangles !== expected.triangles)
      problems.push(`${label}: ${JSON.stringify(got)}, expected ${JSON.stringify(expected)}`);
  const timing = `glb ${glbMs.toFixed(1)} ms, dae-compact ${daeMs.toFixed(1)} ms`;
  console.log(`${problems.length ? 'FAIL' : 'ok  '} ${name}: ${expected.segments} segments, ` +
    `${expected.triangles} triangles (${textSegments} segments of texts), ${colored} objects' colours as in the glb; ${timing}${problems.length ? '\n  ' + problems.join('\n  ') : ''}`);
  return problems.length === 0;
}

const folder = process.argv[2];
const names = fs.readdirSync(path.join(folder, 'glb')).filter((f) => f.endsWith('.glb')).map((f) => f.slice(0, -4));
let passed = true;
for (const name of names.sort()) passed = (await checkDrawing(folder, name)) && passed;
process.exit(passed && names.length > 0 ? 0 : 1);
