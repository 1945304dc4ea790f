// Real Vite builds and dev servers of the fixture site, with the CLI that TESSAGLYPH_CLI names
// (default: the one on PATH).

import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { createHash } from 'node:crypto';
import fs from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { promisify } from 'node:util';
import { build, createServer, parseAst } from 'vite';
import tessaglyph from '../index.js';
import { cliHasOption } from '../lib/cli.js';
import { stringsOf } from '../lib/site-text.js';
import siteConfig, { NOTO_DEVANAGARI, NOTO_SANS, pages, siteConfig as siteAt } from './fixture/vite.config.js';

const CLI = process.env.TESSAGLYPH_CLI || 'tessaglyph-cli';
const fixture = new URL('./fixture/', import.meta.url).pathname;
let scratch;

before(async () => {
  scratch = await fs.mkdtemp(path.join(os.tmpdir(), 'vite-plugin-tessaglyph-test-'));
});
after(() => fs.rm(scratch, { recursive: true, force: true }));

/** The code points of a stylesheet's unicode-ranges. */
function codePoints(css) {
  const points = new Set();
  for (const [, ranges] of css.matchAll(/unicode-range:\s*([^;]+);/g)) {
    for (const range of ranges.split(',')) {
      const [first, last] = range.trim().slice(2).split('-').map(hex => parseInt(hex, 16));
      for (let point = first; point <= (last ?? first); point++) points.add(point);
    }
  }
  return points;
}

/** Builds the fixture site into a fresh folder, with the plugins given (default: its own). */
async function buildSite(name, plugins = siteConfig.plugins, extra = {}) {
  const outDir = path.join(scratch, name);
  await build({ ...siteConfig, configFile: false, plugins, logLevel: 'silent', ...extra,
    build: { ...siteConfig.build, outDir } });
  return outDir;
}

async function stylesheets(outDir) {
  const folder = path.join(outDir, 'assets', 'fonts');
  const sheets = {};
  for (const name of (await fs.readdir(folder)).filter(name => name.endsWith('.css')))
    sheets[name] = await fs.readFile(path.join(folder, name), 'utf8');
  return sheets;
}

function sheetOf(sheets, stem) {
  const name = Object.keys(sheets).find(name => name.startsWith(stem + '.'));
  assert.ok(name, `no stylesheet ${stem}.*.css among ${Object.keys(sheets)}`);
  return { name, css: sheets[name] };
}

describe('a build of the fixture site', () => {
  let outDir;
  let sheets;
  before(async () => {
    outDir = await buildSite('site');
    sheets = await stylesheets(outDir);
  });

  // Each character is in the site only where its row says.
  const counted = [
    ['an alt attribute', 'Þ', 'SiteSans'],
    ['a title attribute', 'Ð', 'SiteSans'],
    ['a placeholder', 'ß', 'SiteSans'],
    ['an aria-label', 'Æ', 'SiteSans'],
    ["a submit button's value", 'Ø', 'SiteSans'],
    ['a character reference', 'ẞ', 'SiteSans'],
    ['a string literal', 'Ŋ', 'SiteSans'],
    ['a template literal', 'Œ', 'SiteSans'],
    ['a file the include globs name', 'Ŧ', 'SiteSans'],
    ['the text option', 'Ŀ', 'SiteSans'],
    ["a dynamically imported chunk's string", '举', 'SiteHei'],
    ['a template literal', '共', 'SiteHei'],
    ['a page of its own', 'ष', 'SiteDevanagari'],
  ];
  for (const [where, character, stem] of counted) {
    test(`counts the text of ${where}`, () => {
      assert.ok(codePoints(sheetOf(sheets, stem).css).has(character.codePointAt(0)), `${character} is not in ${stem}`);
    });
  }

  test('leaves out what no reader sees', () => {
    // Ħ is in index.html's comment and its <style>, and nowhere else.
    assert.ok(!codePoints(sheetOf(sheets, 'SiteSans').css).has('Ħ'.codePointAt(0)), 'a comment or a style counted');
  });

  test("names each stylesheet by its bytes' hash and links it from every page", async () => {
    for (const stem of ['SiteSans', 'SiteDevanagari', 'SiteHei']) {
      const { name, css } = sheetOf(sheets, stem);
      assert.equal(name, `${stem}.${createHash('sha256').update(css).digest('hex').slice(0, 8)}.css`);
      for (const [, slice] of css.matchAll(/url\("([^"]+)"\)/g))
        await fs.access(path.join(outDir, 'assets', 'fonts', slice));
      for (const page of pages) {
        const html = await fs.readFile(path.join(outDir, page), 'utf8');
        const link = html.indexOf(`<link rel="stylesheet" href="./assets/fonts/${name}">`);
        assert.ok(link >= 0 && link < html.indexOf('</head>'), `${page} does not link ${name} in its head`);
      }
    }
  });

  test('exports the font-family line', async () => {
    const scripts = await fs.readdir(path.join(outDir, 'assets'));
    const strings = new Set();
    for (const name of scripts.filter(name => name.endsWith('.js')))
      stringsOf(parseAst(await fs.readFile(path.join(outDir, 'assets', name), 'utf8'))).forEach(s => strings.add(s));
    // The kit's family first, then the fallback faces the CSS offers for it.
    for (const family of ['"Site Sans"', '"Site Devanagari"', '"Site Hei"'])
      assert.ok([...strings].some(s => s === family || s.startsWith(`${family}, `)), `no ${family} in the scripts`);
    assert.ok(strings.has('"Site Sans", "Site Sans Fallback Arial", "Site Sans Fallback Helvetica", '
                          + '"Site Sans Fallback DejaVu Sans"'), 'no fallback faces for "Site Sans"');
  });
});

test("exclude leaves a page's text out", async () => {
  const sheets = await stylesheets(await buildSite('excluded', [
    tessaglyph({ cli: CLI, font: NOTO_SANS, cssFamily: 'Site Sans', exclude: ['el.html'] }),
    tessaglyph({ cli: CLI, font: NOTO_SANS, cssFamily: 'Site Devanagari', module: 'virtual:tessaglyph/devanagari', text: 'x' }),
    tessaglyph({ cli: CLI, font: NOTO_SANS, cssFamily: 'Site Hei', module: 'virtual:tessaglyph/hei', text: 'x' }),
  ]));
  const points = codePoints(sheetOf(sheets, 'SiteSans').css);
  assert.ok(!points.has('ψ'.codePointAt(0)), "el.html's text counted");
  assert.ok(points.has('λ'.codePointAt(0)), "the navigation's text, which every page loads, did not count");
});

test("an error of the CLI fails the build with the CLI's message", async () => {
  const missing = path.join(scratch, 'no-such-font.ttf');
  const cli = await promisify(execFile)(CLI, ['webfont', '--font', missing, '--output-dir', scratch, '--quiet'])
    .then(() => assert.fail('the CLI made a kit of a missing font'), error => error);
  const message = cli.stderr.trim();
  assert.ok(message.length > 0);
  await assert.rejects(buildSite('failed', [tessaglyph({ cli: CLI, font: NOTO_SANS, text: 'x' }),
    tessaglyph({ cli: CLI, font: missing, module: 'virtual:tessaglyph/unused', whole: true }),
    tessaglyph({ cli: CLI, font: NOTO_SANS, module: 'virtual:tessaglyph/devanagari', text: 'x' }),
    tessaglyph({ cli: CLI, font: NOTO_SANS, module: 'virtual:tessaglyph/hei', text: 'x' })]),
  error => error.message.includes(message));
});

/** A CLI that logs its arguments, one run a line, and runs the real one. */
async function loggingCli(log) {
  const file = path.join(scratch, 'logging-cli');
  await fs.writeFile(file, `#!/bin/sh\necho "$*" >> '${log}'\nexec '${CLI}' "$@"\n`, { mode: 0o755 });
  return file;
}

test('vite dev serves a whole kit, made once and then from its cache', async () => {
  const devCache = path.join(scratch, 'dev-cache');
  const log = path.join(scratch, 'cli.log');
  const cli = await loggingCli(log);
  const serve = async () => {
    const server = await createServer({
      root: fixture, configFile: false, logLevel: 'silent', server: { port: 0, host: '127.0.0.1', hmr: false },
      plugins: [
        tessaglyph({ cli, font: NOTO_SANS, cssFamily: 'Site Sans', devCache }),
        tessaglyph({ cli, font: NOTO_DEVANAGARI, cssFamily: 'Site Devanagari', module: 'virtual:tessaglyph/devanagari', devCache }),
        tessaglyph({ cli, font: NOTO_DEVANAGARI, cssFamily: 'Site Hei', module: 'virtual:tessaglyph/hei', devCache }),
      ],
    });
    await server.listen();
    const { port } = server.httpServer.address();
    const get = async url => {
      const response = await fetch(new URL(url, `http://127.0.0.1:${port}/`));
      assert.equal(response.status, 200, url);
      return response;
    };
    try {
      const html = await (await get('/index.html')).text();
      const [, href] = /<link rel="stylesheet" href="([^"]*@tessaglyph\/[^"]+)"/.exec(html) ?? [];
      assert.ok(href, 'the page links no kit');
      const css = await (await get(href)).text();
      const slices = [...css.matchAll(/url\("([^"]+)"\)/g)].map(match => match[1]);
      assert.ok(codePoints(css).has('ψ'.codePointAt(0)) && codePoints(css).has('Ŧ'.codePointAt(0)), 'not the whole font');
      const slice = await get(new URL(slices[0], new URL(href, 'http://x/')).pathname);
      assert.equal(slice.headers.get('content-type'), 'font/woff2');
      const served = Buffer.from(await slice.arrayBuffer());
      assert.equal(served.subarray(0, 4).toString('latin1'), 'wOF2');
      const script = await (await get('/src/nav.js')).text();
      assert.ok(script.includes('virtual:tessaglyph'));
      const family = await (await get('/@id/__x00__virtual:tessaglyph')).text();
      assert.ok(family.includes('export const fontFamily = "\\"Site Sans\\"'), family);
    } finally {
      await server.close();
    }
  };
  await serve();
  const first = (await fs.readFile(log, 'utf8')).split('\n').filter(line => line.startsWith('webfont'));
  assert.equal(first.length, 3, 'the first server did not make one kit of each font');
  await fs.rm(log);
  await serve();
  const second = (await fs.readFile(log, 'utf8')).split('\n').filter(line => line.startsWith('webfont'));
  assert.deepEqual(second, [], 'the second server made its kit again');
});

const sliceCache = await cliHasOption(CLI, '--no-cache');
test("a second build is served from the CLI's slice cache", { skip: !sliceCache && `${CLI} has no slice cache` }, async () => {
  const cache = path.join(scratch, 'slice-cache');
  const plugins = cached => [
    tessaglyph({ cli: CLI, font: NOTO_SANS, cssFamily: 'Site Sans', cache: cached }),
    tessaglyph({ cli: CLI, font: NOTO_DEVANAGARI, cssFamily: 'Site Devanagari', module: 'virtual:tessaglyph/devanagari', cache: cached }),
    tessaglyph({ cli: CLI, font: NOTO_DEVANAGARI, cssFamily: 'Site Hei', module: 'virtual:tessaglyph/hei', cache: cached }),
  ];
  const first = await stylesheets(await buildSite('cached-1', plugins(cache)));
  const entries = (await fs.readdir(cache, { recursive: true })).filter(name => name.endsWith('.woff2')).sort();
  assert.ok(entries.length > 0, 'the first build put nothing in the cache');
  // The CLI marks an entry used by its modification time.
  const past = new Date('2001-01-01T00:00:00Z');
  for (const entry of entries) await fs.utimes(path.join(cache, entry), past, past);
  const said = [];
  const customLogger = { info: line => said.push(line), warn() {}, warnOnce() {}, error() {}, clearScreen() {},
    hasErrorLogged: () => false, hasWarned: false };
  const second = await stylesheets(await buildSite('cached-2', plugins(cache), { customLogger }));
  assert.deepEqual(second, first);
  // Each kit's line says that all its slices came from the cache.
  const fromCache = said.map(line => / (\d+) of (\d+) slices from the cache$/.exec(line)).filter(Boolean);
  assert.equal(fromCache.length, 3, said.join('\n'));
  for (const [line, copied, all] of fromCache) assert.ok(copied === all && all !== '0', line);
  assert.deepEqual((await fs.readdir(cache, { recursive: true })).filter(name => name.endsWith('.woff2')).sort(), entries,
    'the second build made slices anew');
  for (const entry of entries)
    assert.ok((await fs.stat(path.join(cache, entry))).mtime > past, `${entry} was not used`);
  const uncached = await stylesheets(await buildSite('uncached', plugins(false)));
  assert.deepEqual(uncached, first, 'the cache changed the kit');
});

test("a rebuild after an edit keeps the earlier build's slices, and adds one of the new characters", async () => {
  const root = path.join(scratch, 'edited-site');
  await fs.cp(fixture, root, { recursive: true, filter: source => !source.includes('node_modules') });
  const buildAt = async name => {
    const outDir = path.join(scratch, name);
    const config = siteAt(root);
    await build({ ...config, configFile: false, logLevel: 'silent', build: { ...config.build, outDir } });
    return sheetOf(await stylesheets(outDir), 'SiteSans').css;
  };
  const slicesOf = css => [...css.matchAll(/url\("?([^")]+)"?\)/g)].map(match => match[1]);
  const before = slicesOf(await buildAt('edited-1'));
  const page = path.join(root, 'index.html');
  await fs.writeFile(page, (await fs.readFile(page, 'utf8')).replace('</body>', '<p>Жук</p></body>'));
  const after = await buildAt('edited-2');
  const added = slicesOf(after).filter(name => !before.includes(name));
  assert.deepEqual(slicesOf(after).filter(name => before.includes(name)), before);
  assert.equal(added.length, 1, after);
  const rule = after.split('@font-face').find(rule => rule.includes(added[0]));
  assert.deepEqual([...codePoints(rule)].sort(), [...'Жку'].map(c => c.codePointAt(0)).sort());
});
