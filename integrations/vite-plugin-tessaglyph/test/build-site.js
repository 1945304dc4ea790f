// Builds the fixture site into the folder given: node test/build-site.js OUT_DIR
// Prints the build's time in seconds on standard output. TESSAGLYPH_CLI names the CLI.
import { build } from 'vite';
import siteConfig from './fixture/vite.config.js';

const [outDir] = process.argv.slice(2);
if (!outDir) {
  console.error('usage: node test/build-site.js OUT_DIR');
  process.exit(2);
}
const started = performance.now();
await build({ ...siteConfig, configFile: false, build: { ...siteConfig.build, outDir } });
console.log(((performance.now() - started) / 1000).toFixed(2));
