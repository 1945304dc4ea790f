// The whole font's kit for `vite dev`, made once and kept in a cache folder, keyed by what changes
// its bytes: the font's bytes, the CLI's version and the options the CSS depends on. An entry is
// made under a temporary name and renamed into place when complete, so a killed run leaves no
// entry that a later one trusts.

import { createHash } from 'node:crypto';
import { execFile } from 'node:child_process';
import fs from 'node:fs/promises';
import { createReadStream } from 'node:fs';
import path from 'node:path';
import { cliVersion, makeKit, webfontArguments } from './cli.js';

/** The cache folder: $XDG_CACHE_HOME's, else the project's node_modules/.cache. */
export function defaultCacheFolder(root) {
  const base = process.env.XDG_CACHE_HOME || path.join(root, 'node_modules', '.cache');
  return path.join(base, 'vite-plugin-tessaglyph');
}

function fileHash(file) {
  return new Promise((resolve, reject) => {
    const hash = createHash('sha256');
    createReadStream(file).on('error', reject).on('data', data => hash.update(data))
      .on('end', () => resolve(hash.digest('hex')));
  });
}

/** The files fontconfig holds for a family, with their sizes and times: an installed family's bytes. */
function familyFiles(family) {
  return new Promise(resolve => {
    execFile('fc-list', [family.replace(/\s*\[[^\]]*\]\s*$/, ''), 'file'], (error, stdout) => {
      resolve(error ? [] : stdout.split('\n').map(line => line.trim().replace(/:$/, '')).filter(Boolean).sort());
    });
  }).then(files => Promise.all(files.map(async file => {
    const stat = await fs.stat(file).catch(() => null);
    return stat ? `${file} ${stat.size} ${stat.mtimeMs}` : file;
  })));
}

/** The key of the whole kit the options make with this CLI. */
export async function wholeKitKey(cli, options) {
  const source = options.font ? { font: await fileHash(options.font) }
    : { family: options.family, files: await familyFiles(options.family) };
  const made = {
    version: await cliVersion(cli), source,
    args: webfontArguments({ ...options, font: 'F', family: 'F', jobs: undefined }, 'D'),
  };
  return createHash('sha256').update(JSON.stringify(made)).digest('hex').slice(0, 16);
}

/**
 * The folder of the whole kit for options, from the cache or made into it now. Returns
 * { folder, made }: made says whether the CLI ran.
 */
export async function wholeKit(cli, options, cacheFolder) {
  const key = await wholeKitKey(cli, options);
  const folder = path.join(cacheFolder, key);
  if (await fs.stat(folder).then(stat => stat.isDirectory(), () => false)) return { folder, made: false };
  await fs.mkdir(cacheFolder, { recursive: true });
  const temporary = await fs.mkdtemp(path.join(cacheFolder, `.${key}-`));
  try {
    await makeKit(cli, webfontArguments(options, temporary));
    await fs.rename(temporary, folder);
  } catch (error) {
    await fs.rm(temporary, { recursive: true, force: true });
    // Another server made the same kit meanwhile: its entry is as good as ours.
    if (error.code === 'ENOTEMPTY' || error.code === 'EEXIST') return { folder, made: true };
    throw error;
  }
  return { folder, made: true };
}
