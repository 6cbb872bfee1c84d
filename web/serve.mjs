// A small static server for the built page, on this machine only (127.0.0.1), with the page's
// Content-Security-Policy also as a header:
//   node serve.mjs SITE_DIR [PORT]     prints the address, serves until stopped
// The page's test starts it on a free port through serve().
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8', '.png': 'image/png', '.ttf': 'font/ttf', '.txt': 'text/plain; charset=utf-8' };

// The policy of index.html's meta element, so that the header never allows more than the page.
async function policyOf(siteDir) {
  const html = await readFile(path.join(siteDir, 'index.html'), 'utf8');
  return /http-equiv="Content-Security-Policy" content="([^"]*)"/.exec(html)?.[1] ?? "default-src 'none'";
}

// Serves siteDir on port (0: any free one); resolves with { server, url, served } where served
// lists every path asked for.
export async function serve(siteDir, port = 0) {
  const policy = await policyOf(siteDir);
  const served = [];
  const server = createServer(async (request, response) => {
    const pathname = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    served.push(pathname);
    const file = path.join(siteDir, pathname === '/' ? 'index.html' : pathname);
    if (!file.startsWith(siteDir + path.sep) || (request.method !== 'GET' && request.method !== 'HEAD')) {
      response.writeHead(404).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream',
        'Content-Security-Policy': policy,
        'X-Content-Type-Options': 'nosniff',
        'Cache-Control': 'no-cache',
      });
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
  return { server, url: `http://localhost:${server.address().port}/`, served };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [siteDir, port = '8080'] = process.argv.slice(2);
  const { url } = await serve(path.resolve(siteDir), Number(port));
  console.log(`Tessaro's page: ${url} (Ctrl-C stops the server)`);
}
