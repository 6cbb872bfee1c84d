// The Web Worker that converts: the page posts a drawing's File and its option words, the worker
// answers the document (and, for the view, the same drawing as glTF binary). The engine and
// its WebAssembly are bundled into this script, so nothing is fetched. After a failure the
// module's state is not trusted: the worker says so and the page starts a new one.
import createTessaro from 'tessaro:glue';
import wasmBinary from 'tessaro:wasm';
import { TessaroEngine } from './engine.js';

let broken = false;
// The texts' font: fetched once, when a drawing first has texts the engine had no font for.
let fontTried = false;

async function loadFont(engine, url) {
  fontTried = true;
  try {
    const response = await fetch(url);
    if (response.ok) engine.setFont(new Uint8Array(await response.arrayBuffer()));
  } catch {
    // Opened from the disk, or the font is not beside the page: the texts stay left out.
  }
}
const ready = createTessaro({
  wasmBinary,
  locateFile: (file) => file,
  print: () => {},
  printErr: () => {},
  onAbort: () => { broken = true; },
}).then((module) => new TessaroEngine(module));

self.onmessage = async ({ data: job }) => {
  let bytes;
  try {
    bytes = new Uint8Array(await job.file.arrayBuffer());
  } catch {
    // The file is gone or changed since it was dropped: that file's failure, not the engine's.
    self.postMessage({ id: job.id, result: { status: 'failed' } });
    return;
  }
  try {
    const engine = await ready;
    if (broken) throw new Error('engine aborted');
    const started = performance.now();
    let result = engine.convert(bytes, job.kind, job.words, job.name);
    if (result.textsWithoutFont > 0 && !fontTried && job.fontUrl) {
      await loadFont(engine, job.fontUrl);
      if (engine.hasFont()) result = engine.convert(bytes, job.kind, job.words, job.name);
    }
    const milliseconds = performance.now() - started;
    let view = null;
    if (job.view && result.document) {
      const glb = job.words.find(([name]) => name === 'format')?.[1] === 'glb'
        ? result : engine.convert(bytes, job.kind, [...job.words, ['format', 'glb']], job.name);
      view = glb.document ?? null;
    }
    const transfer = [result.document?.buffer, view && view !== result.document ? view.buffer : null].filter(Boolean);
    self.postMessage({ id: job.id, result, view, milliseconds, memory: engine.memoryBytes() }, transfer);
  } catch (error) {
    self.postMessage({ id: job.id, crashed: String(error?.message ?? error) });
  }
};
