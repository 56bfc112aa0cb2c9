// Serves the web build's folder on 127.0.0.1: `node web/serve.mjs FOLDER [PORT]`
// prints the page's address and serves until stopped. The tests import
// `serve` to run the same server on a free port.
import { createServer } from 'node:http';
import { createReadStream, statSync } from 'node:fs';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
};

// The file a request names inside `root`, or null for anything outside it.
function fileFor(root, url) {
  let path;
  try {
    path = decodeURIComponent(new URL(url, 'http://host').pathname);
  } catch {
    return null;
  }
  if (path.endsWith('/')) path += 'vaultwick.html';
  const file = resolve(join(root, path));
  if (file !== root && !file.startsWith(root + sep)) return null;
  try {
    return statSync(file).isFile() ? file : null;
  } catch {
    return null;
  }
}

function answer(root, request, response) {
  const file = request.method === 'GET' || request.method === 'HEAD' ? fileFor(root, request.url) : null;
  if (!file) {
    response.writeHead(404, { 'Content-Type': 'text/plain' });
    response.end('not found\n');
    return;
  }
  response.writeHead(200, {
    'Content-Type': kTypes[extname(file)] || 'application/octet-stream',
    'Content-Length': statSync(file).size,
    'Cache-Control': 'no-cache',
  });
  if (request.method === 'HEAD') response.end();
  else createReadStream(file).pipe(response);
}

// Starts serving `folder`; resolves to the server and its page address.
export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer((request, response) => answer(root, request, response));
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      done({ server, url: `http://127.0.0.1:${server.address().port}/vaultwick.html` });
    });
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const folder = process.argv[2] || 'build-web';
  const port = Number(process.argv[3] || 8080);
  serve(folder, port).then(
    ({ url }) => console.log(`Vaultwick is served at ${url} (Ctrl+C stops)`),
    (error) => {
      console.error(`web/serve.mjs: ${error.message}`);
      process.exit(1);
    },
  );
}
