// vite-plugin-tessaglyph: a unicode-range WOFF2 kit of a font in a Vite site, cut by the installed
// tessaglyph-cli from the text the build emits (or of the whole font), linked from every page.

import fs from 'node:fs/promises';
import { createReadStream } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createFilter, normalizePath } from 'vite';
import { CliError, cliHasOption, makeKit, slicesFromCache, webfontArguments } from './lib/cli.js';
import { defaultCacheFolder, wholeKit } from './lib/dev-kit.js';
import { giveEarlierPlan, keepPlan, planFolder } from './lib/earlier-plan.js';
import { fileNameOf, urlFrom, withStylesheet } from './lib/html-link.js';
import { hashedCssName, readKit } from './lib/kit.js';
import { readHtml, stringsOf } from './lib/site-text.js';

const NAME = 'tessaglyph';
const DEFAULT_MODULE = 'virtual:tessaglyph';
const DEV_PREFIX = '@tessaglyph/';
// A kit of these characters says what the font-family line is; a font maps at least one of them.
const PROBE_TEXT = 'A0 一あ';
// Folders of a project whose files are never the site's text.
const NOT_SOURCES = new Set(['node_modules', '.git']);

function checkedOptions(options) {
  if (!options.font === !options.family) throw new Error(`${NAME}: give either \`font\` (a file) or \`family\`, not both`);
  const outDir = normalizePath(options.outDir ?? 'assets/fonts');
  if (path.posix.isAbsolute(outDir) || outDir.split('/').includes('..'))
    throw new Error(`${NAME}: \`outDir\` must be a folder inside the build's output, not ${outDir}`);
  return {
    ...options,
    outDir,
    cli: options.cli ?? 'tessaglyph-cli',
    module: options.module ?? DEFAULT_MODULE,
  };
}

/** A CLI that cannot be run says so in terms of the option that names it. */
function explained(error) {
  if (error instanceof CliError && (error.exitCode === 'ENOENT' || error.exitCode === 'EACCES'))
    return `${error.message} (install tessaglyph-cli, or give the \`cli\` option its path)`;
  return error.message;
}

const UTF8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: false });

/**
 * Writes text for the CLI to read, as UTF-8 with a byte-order mark: without one, the CLI takes a
 * short text that is also valid GB2312 ("Ŀ", say) for GB2312.
 */
async function writeText(file, text) {
  await fs.mkdir(path.dirname(file), { recursive: true });
  await fs.writeFile(file, '\uFEFF' + text);
}

/** An emitted asset's text: Vite emits pages as strings, another plugin may emit bytes. */
function textOf(asset) {
  return typeof asset.source === 'string' ? asset.source : new TextDecoder().decode(asset.source);
}

/** Every file under folder, less node_modules, .git and the folders in skipped. */
async function filesUnder(folder, skipped) {
  const files = [];
  for (const entry of await fs.readdir(folder, { withFileTypes: true })) {
    const file = path.join(folder, entry.name);
    if (entry.isDirectory()) {
      if (!NOT_SOURCES.has(entry.name) && !skipped.has(file)) files.push(...await filesUnder(file, skipped));
    } else if (entry.isFile()) {
      files.push(file);
    }
  }
  return files;
}

export default function tessaglyph(userOptions = {}) {
  const options = checkedOptions(userOptions);
  const resolvedModule = '\0' + options.module;
  let config;
  let inactive = false; // a server-side build: it emits no page
  let devKit = null; // the promise of the whole kit `vite dev` serves
  let familyProbe = null; // the promise of the font-family line, in a build

  /** The font-family line of the kit the options make: from a kit of one character. */
  async function probeFamily() {
    const folder = await fs.mkdtemp(path.join(os.tmpdir(), 'tessaglyph-family-'));
    try {
      await makeKit(options.cli, [...webfontArguments(options, folder), '--text', PROBE_TEXT, ...await cacheArguments()]);
      return await readKit(folder);
    } finally {
      await fs.rm(folder, { recursive: true, force: true });
    }
  }

  /** The plugin's own cache folder: `vite dev`'s whole kits, and each build's plan for the next. */
  function pluginCacheFolder() {
    return path.resolve(config.root, options.devCache ?? defaultCacheFolder(config.root));
  }

  let cacheOptions = null;
  /** --cache DIR or --no-cache, as the options ask, when the CLI has a slice cache. */
  function cacheArguments() {
    if (options.cache === undefined) return [];
    cacheOptions ??= cliHasOption(options.cli, '--no-cache').then(has => {
      if (!has) {
        config.logger.warn(`${NAME}: ${options.cli} has no slice cache; the \`cache\` option is ignored`);
        return [];
      }
      return options.cache === false ? ['--no-cache'] : ['--cache', path.resolve(config.root, options.cache)];
    });
    return cacheOptions;
  }

  /** What the site's text files for the kit are: one per page, with the chunks it loads. */
  function writeSiteText(context, bundle, folder) {
    // Whether an emitted file's text counts: exclude names files of the build's output.
    const counts = createFilter(null, options.exclude ?? null, { resolve: false });
    const base = config.base;
    const chunkStrings = new Map();
    const stringsOfChunk = chunk => {
      if (!chunkStrings.has(chunk.fileName)) chunkStrings.set(chunk.fileName, stringsOf(context.parse(chunk.code)).join('\n'));
      return chunkStrings.get(chunk.fileName);
    };
    const loaded = new Set();
    const files = [];
    const pages = Object.values(bundle).filter(file => file.type === 'asset' && file.fileName.endsWith('.html'));
    for (const page of pages) {
      if (!counts(page.fileName)) continue;
      const html = readHtml(textOf(page));
      const parts = [html.text];
      for (const code of html.inlineScripts) {
        try {
          parts.push(stringsOf(context.parse(code)).join('\n'));
        } catch {
          // Not JavaScript Rollup reads (a template's placeholder, say): none of its text counts.
        }
      }
      // The chunks a page loads, and those they import, statically or on demand.
      const queue = [...html.scripts, ...html.links].map(url => fileNameOf(page.fileName, url, base)).filter(Boolean);
      const seen = new Set();
      while (queue.length > 0) {
        const name = queue.shift();
        const chunk = bundle[name];
        if (seen.has(name) || chunk?.type !== 'chunk') continue;
        seen.add(name);
        loaded.add(name);
        if (counts(name)) parts.push(stringsOfChunk(chunk));
        queue.push(...chunk.imports, ...chunk.dynamicImports);
      }
      files.push({ name: path.posix.join('pages', page.fileName + '.txt'), text: parts.join('\n') });
    }
    // A chunk no page loads (a worker, a library's entry) is a file of its own.
    for (const chunk of Object.values(bundle)) {
      if (chunk.type === 'chunk' && !loaded.has(chunk.fileName) && counts(chunk.fileName))
        files.push({ name: path.posix.join('chunks', chunk.fileName + '.txt'), text: stringsOfChunk(chunk) });
    }
    if (options.text) files.push({ name: 'text.txt', text: options.text });
    return Promise.all(files.map(file => writeText(path.join(folder, file.name), file.text))).then(() => files.length);
  }

  /** Copies the files the include globs name, as they are (the CLI reads their encoding). */
  async function copyIncluded(folder) {
    if (!options.include) return 0;
    const included = createFilter(options.include, options.exclude ?? null, { resolve: config.root });
    const output = path.resolve(config.root, config.build.outDir);
    let count = 0;
    for (const file of await filesUnder(config.root, new Set([output]))) {
      if (!included(normalizePath(file))) continue;
      const target = path.join(folder, 'include', path.relative(config.root, file));
      const bytes = await fs.readFile(file);
      let text = null;
      try {
        text = UTF8.decode(bytes);
      } catch {
        // Not UTF-8: the CLI reads it as it reads any text file (GB18030, UTF-16, ...).
      }
      if (text === null) {
        await fs.mkdir(path.dirname(target), { recursive: true });
        await fs.writeFile(target, bytes);
      } else {
        await writeText(target, text);
      }
      count += 1;
    }
    return count;
  }

  return {
    name: NAME,
    enforce: 'post',
    api: { module: options.module, options: userOptions },

    apply(_config, env) {
      if (env.isPreview || env.isSsrBuild) return false;
      return env.command === 'build' || options.dev !== false;
    },

    configResolved(resolved) {
      config = resolved;
      inactive = Boolean(config.build.ssr);
      const sharing = config.plugins.filter(plugin => plugin.name === NAME && plugin.api?.module === options.module);
      if (sharing.length > 1)
        throw new Error(`${NAME}: ${sharing.length} kits export ${options.module}; give each but one a \`module\` of its own`);
    },

    resolveId(id) {
      return id === options.module ? resolvedModule : null;
    },

    async load(id) {
      if (id !== resolvedModule) return null;
      let kit;
      try {
        kit = devKit ? (await devKit).kit : await (familyProbe ??= probeFamily());
      } catch (error) {
        this.error(explained(error));
      }
      return `export const fontFamily = ${JSON.stringify(kit.fontFamily)};\n`
        + `export const cssFamily = ${JSON.stringify(kit.cssFamily)};\nexport default fontFamily;\n`;
    },

    configureServer(server) {
      const cacheFolder = pluginCacheFolder();
      devKit = wholeKit(options.cli, options, cacheFolder).then(async ({ folder, made }) => {
        const kit = await readKit(folder);
        config.logger.info(`${NAME}: ${made ? 'made' : 'cached'} the whole kit of ${kit.cssFamily} in ${folder}`);
        return { folder, kit, url: `${config.base}${DEV_PREFIX}${path.basename(folder)}/${encodeURIComponent(kit.cssName)}` };
      });
      devKit.catch(error => config.logger.error(`${NAME}: ${explained(error)}`));
      server.middlewares.use(async (request, response, next) => {
        const url = (request.url ?? '').replace(/[?#].*$/, '');
        const at = url.indexOf('/' + DEV_PREFIX);
        if (at < 0) return next();
        let served;
        try {
          served = await devKit;
        } catch (error) {
          response.statusCode = 500;
          return response.end(explained(error));
        }
        let key, name;
        try {
          [key, name] = url.slice(at + 1 + DEV_PREFIX.length).split('/').map(decodeURIComponent);
        } catch {
          return next(); // not a URL of ours: a malformed escape
        }
        if (key !== path.basename(served.folder) || !(name === served.kit.cssName || served.kit.slices.some(s => s.name === name)))
          return next();
        response.setHeader('Content-Type', name.endsWith('.css') ? 'text/css; charset=utf-8' : 'font/woff2');
        response.setHeader('Cache-Control', 'max-age=31536000, immutable');
        createReadStream(path.join(served.folder, name)).pipe(response);
      });
    },

    transformIndexHtml: {
      order: 'post',
      async handler() {
        if (!devKit) return undefined;
        try {
          const { url } = await devKit;
          return [{ tag: 'link', attrs: { rel: 'stylesheet', href: url }, injectTo: 'head' }];
        } catch {
          return undefined; // logged when the kit failed
        }
      },
    },

    async generateBundle(_output, bundle) {
      if (inactive) return;
      const folder = await fs.mkdtemp(path.join(os.tmpdir(), 'tessaglyph-'));
      try {
        const kitFolder = path.join(folder, 'kit');
        const textFolder = path.join(folder, 'text');
        await fs.mkdir(kitFolder);
        const plans = options.whole ? null : planFolder(pluginCacheFolder(), config.root, options);
        if (plans) await giveEarlierPlan(plans, kitFolder).catch(() => {}); // planned afresh without it
        const args = [...webfontArguments(options, kitFolder), ...await cacheArguments()];
        if (!options.whole) {
          const files = await writeSiteText(this, bundle, textFolder) + await copyIncluded(textFolder);
          if (files === 0) this.error('the build emitted no page or script whose text could make a kit (or `exclude` left out every one); give `text`, `include` or `whole: true`');
          args.push('--text-dir', textFolder);
        }
        const started = performance.now();
        let said = '';
        try {
          said = await makeKit(options.cli, args);
        } catch (error) {
          this.error(explained(error));
        }
        const kit = await readKit(kitFolder);
        if (plans) {
          await keepPlan(kitFolder, plans).catch(error => config.logger.warn(
            `${NAME}: the kit's plan could not be kept for the next build (${error.message}); that build plans its kit afresh`));
        }
        const cssFile = path.posix.join(options.outDir, hashedCssName(kit));
        for (const slice of kit.slices) {
          const fileName = path.posix.join(options.outDir, slice.name);
          // Two kits of one font share the slices they cut alike: the name is the bytes' hash.
          if (bundle[fileName]?.type !== 'asset')
            this.emitFile({ type: 'asset', fileName, source: slice.bytes });
        }
        this.emitFile({ type: 'asset', fileName: cssFile, source: kit.css });
        for (const file of Object.values(bundle)) {
          if (file.type === 'asset' && file.fileName.endsWith('.html'))
            file.source = withStylesheet(textOf(file), urlFrom(file.fileName, cssFile, config.base));
        }
        const bytes = kit.slices.reduce((sum, slice) => sum + slice.bytes.length, 0);
        const cached = slicesFromCache(said);
        config.logger.info(`${NAME}: font-family: ${kit.fontFamily}; ${kit.slices.length} slices, `
          + `${(bytes / 1024).toFixed(1)} kB, ${cssFile}, in ${((performance.now() - started) / 1000).toFixed(1)} s`
          + (cached ? `; ${cached} slices from the cache` : ''));
      } finally {
        await fs.rm(folder, { recursive: true, force: true });
      }
    },
  };
}

export { tessaglyph };
