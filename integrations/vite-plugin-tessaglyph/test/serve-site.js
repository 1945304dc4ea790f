// Starts `vite dev` on the fixture site, or a copy of it in ROOT, with its kits' cache in DEV_CACHE,
// and loads its first page and that page's kits' stylesheets; then stops.
//   node test/serve-site.js DEV_CACHE [ROOT]
// Prints the seconds from the start to the last stylesheet on standard output.
import path from 'node:path';
import { createServer } from 'vite';
import fixture, { siteConfig } from './fixture/vite.config.js';
import tessaglyph from '../index.js';

const [devCache, root] = process.argv.slice(2);
if (!devCache) {
  console.error('usage: node test/serve-site.js DEV_CACHE [ROOT]');
  process.exit(2);
}
const config = root ? siteConfig(path.resolve(root)) : fixture;
const started = performance.now();
// The site's own kits, each with the cache folder given.
const plugins = config.plugins.map(plugin => tessaglyph({ ...plugin.api.options, devCache: path.resolve(devCache) }));
const server = await createServer({ ...config, configFile: false, plugins, server: { port: 0, host: '127.0.0.1', hmr: false } });
try {
  await server.listen();
  const origin = `http://127.0.0.1:${server.httpServer.address().port}`;
  const html = await (await fetch(origin + '/index.html')).text();
  const sheets = [...html.matchAll(/<link rel="stylesheet" href="([^"]*@tessaglyph\/[^"]+)"/g)].map(match => match[1]);
  if (sheets.length !== plugins.length) throw new Error(`the page links ${sheets.length} kits, not ${plugins.length}`);
  for (const sheet of sheets) {
    const response = await fetch(new URL(sheet, origin));
    if (!response.ok) throw new Error(`${sheet}: ${response.status} ${await response.text()}`);
  }
  console.log(((performance.now() - started) / 1000).toFixed(2));
} finally {
  await server.close();
}
