// Bundles the page into one folder any static host (or the disk) can serve:
//   node build.mjs WASM_DIR SITE_DIR
// WASM_DIR holds tessaro.mjs and tessaro.wasm (the engine from emcmake, web/wasm). The worker
// and the WebAssembly it runs are bundled into app.js and started from a blob, since a page
// opened from the disk can fetch nothing, not even its own files.
import { copyFile, mkdir, readFile, writeFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const here = path.dirname(fileURLToPath(import.meta.url));
const [wasmDir, siteDir] = process.argv.slice(2).map((p) => path.resolve(p));
if (!wasmDir || !siteDir) {
  console.error('usage: node build.mjs WASM_DIR SITE_DIR');
  process.exit(2);
}

// Resolves the bundles' own module names: the engine's glue and binary, the worker's text.
function tessaroModules(workerText) {
  return {
    name: 'tessaro',
    setup(build) {
      build.onResolve({ filter: /^tessaro:/ }, (args) => ({ path: args.path, namespace: 'tessaro' }));
      build.onLoad({ filter: /.*/, namespace: 'tessaro' }, async (args) => {
        switch (args.path) {
          case 'tessaro:glue': return { contents: await readFile(path.join(wasmDir, 'tessaro.mjs')), loader: 'js', resolveDir: wasmDir };
          case 'tessaro:wasm': return { contents: await readFile(path.join(wasmDir, 'tessaro.wasm')), loader: 'binary' };
          case 'tessaro:worker-source': return { contents: workerText, loader: 'text' };
          default: return null;
        }
      });
    },
  };
}

const common = { bundle: true, format: 'iife', minify: true, target: 'es2020', write: false, logLevel: 'warning', legalComments: 'eof' };
// The glue reads import.meta.url only when no locateFile is given, and the worker gives one.
const worker = await esbuild.build({
  ...common, entryPoints: [path.join(here, 'src/worker.js')], plugins: [tessaroModules()],
  define: { 'import.meta.url': '""' },
});
const page = await esbuild.build({
  ...common, entryPoints: [path.join(here, 'src/main.js')], plugins: [tessaroModules(worker.outputFiles[0].text)],
});
await mkdir(siteDir, { recursive: true });
await writeFile(path.join(siteDir, 'app.js'), page.outputFiles[0].contents);
await copyFile(path.join(here, 'index.html'), path.join(siteDir, 'index.html'));
await copyFile(path.join(here, 'style.css'), path.join(siteDir, 'style.css'));
// The texts' font and its licence, from Debian's fonts-ipaexfont-gothic; the worker fetches it
// only for a drawing with texts to draw.
const fonts = '/usr/share/fonts/opentype/ipaexfont-gothic';
await mkdir(path.join(siteDir, 'fonts'), { recursive: true });
await copyFile(path.join(fonts, 'ipaexg.ttf'), path.join(siteDir, 'fonts', 'ipaexg.ttf'));
await copyFile('/usr/share/doc/fonts-ipaexfont-gothic/copyright', path.join(siteDir, 'fonts', 'IPA_Font_License.txt'));
