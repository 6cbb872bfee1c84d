// The binding: the engine's C interface (include/tessaro.h) over the WebAssembly module, for
// the worker. One TessaroEngine keeps the engine's memory from one drawing to the next.

const INPUT_FORMATS = { jww: 1, jws: 2, jwc: 3, jwk: 4 };  // tessaro_format; other names: AUTO

// tessaro_status by number.
export const STATUS = [
  'ok', 'not-this-format', 'damaged', 'unsupported-version', 'too-large', 'limit-reached',
  'invalid-argument', 'unknown-option', 'bad-option-value', 'out-of-memory', 'failed',
];

const utf8 = new TextEncoder();

export class TessaroEngine {
  constructor(module) {
    this.m = module;
    this.engine = module._tessaro_engine_new();
    if (!this.engine) throw new Error('out-of-memory');
    this.font = null;  // { at, size }: the texts' font, in the module's memory
  }

  // Keeps `bytes` (a Uint8Array) as the font every text after is drawn in.
  setFont(bytes) {
    const m = this.m;
    const at = m._malloc(Math.max(bytes.length, 1)) >>> 0;
    if (!at) return;
    m.HEAPU8.set(bytes, at);
    if (this.font) m._free(this.font.at);
    this.font = { at, size: bytes.length };
  }

  hasFont() {
    return this.font !== null;
  }

  version() {
    const m = this.m;
    const at = m._tessaro_version() >>> 0;
    let end = at;
    while (m.HEAPU8[end]) end++;
    return new TextDecoder().decode(m.HEAPU8.slice(at, end));
  }

  // The module's memory: WebAssembly memory only grows, so this is the peak so far.
  memoryBytes() {
    return this.m.HEAPU8.length;
  }

  // Converts `bytes` (a Uint8Array) of the drawing kind `kind` ("jww", ...; the extension) with
  // the option words [[name, value], ...] as the command line takes them, on one thread.
  // Answers the status, the document's bytes (a copy) and what the document tells.
  convert(bytes, kind, words, drawingName) {
    const m = this.m;
    const blocks = [];
    const alloc = (size) => {
      const at = m._malloc(Math.max(size, 1)) >>> 0;
      if (!at) throw new Error('out-of-memory');
      blocks.push(at);
      return at;
    };
    const text = (value) => {
      const encoded = utf8.encode(`${value}\0`);
      const at = alloc(encoded.length);
      m.HEAPU8.set(encoded, at);
      return at;
    };
    const options = m._tessaro_options_new();
    if (!options) return { status: 'out-of-memory' };
    try {
      for (const [name, value] of words) {
        const status = m._tessaro_options_set(options, text(name), text(value));
        if (status !== 0) return { status: STATUS[status] ?? 'failed', option: name };
      }
      m._tessaro_options_set_threads(options, 1);
      if (this.font) m._tessaro_options_set_font_data(options, this.font.at, this.font.size);
      const input = alloc(bytes.length);
      m.HEAPU8.set(bytes, input);
      const out = alloc(4);
      const status = m._tessaro_engine_convert(this.engine, input, bytes.length, INPUT_FORMATS[kind] ?? 0, options,
        text(drawingName), out);
      const document = m.HEAPU32[out >>> 2];
      if (!document) return { status: STATUS[status] ?? 'failed' };
      try {
        const at = m._tessaro_document_bytes(document) >>> 0;
        const size = m._tessaro_document_size(document) >>> 0;
        return {
          status: STATUS[status] ?? 'failed',
          document: m.HEAPU8.slice(at, at + size),
          readStatus: STATUS[m._tessaro_document_read_status(document)] ?? 'failed',
          readOffset: m._tessaro_document_read_offset(document) >>> 0,
          budgetReached: m._tessaro_document_budget_reached(document) !== 0,
          blocksCut: m._tessaro_document_blocks_cut(document) !== 0,
          segments: m._tessaro_document_segments(document) >>> 0,
          triangles: m._tessaro_document_triangles(document) >>> 0,
          layers: m._tessaro_document_layers(document),
          textsWithoutFont: m._tessaro_document_texts_without_font(document) >>> 0,
          missingGlyphs: m._tessaro_document_missing_glyphs(document) >>> 0,
          heightsOutOfRange: m._tessaro_document_heights_out_of_range(document) >>> 0,
          backgroundAfter: m._tessaro_document_background_after(document) === 0 ? 'light' : 'dark',
        };
      } finally {
        m._tessaro_document_free(document);
      }
    } finally {
      for (const at of blocks) m._free(at);
      m._tessaro_options_free(options);
    }
  }
}
