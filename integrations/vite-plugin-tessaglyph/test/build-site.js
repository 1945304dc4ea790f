// Builds the fixture site, or a copy of it in ROOT, into OUT_DIR:
//   node test/build-site.js OUT_DIR [ROOT]
// Prints the build's time in seconds on standard output. TESSAGLYPH_CLI names the CLI.
import path from 'node:path';
import { build } from 'vite';
import fixture, { siteConfig } from './fixture/vite.config.js';

const [outDir, root] = process.argv.slice(2);
if (!outDir) {
  console.error('usage: node test/build-site.js OUT_DIR [ROOT]');
  process.exit(2);
}
const config = root ? siteConfig(path.resolve(root)) : fixture;
const started = performance.now();
await build({ ...config, configFile: false, build: { ...config.build, outDir: path.resolve(outDir) } });
console.log(((performance.now() - started) / 1000).toFixed(2));
