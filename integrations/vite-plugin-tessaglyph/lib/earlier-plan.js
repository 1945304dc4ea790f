// The report of the kit the last build made, kept in the plugin's cache folder between builds. Put
// into the next build's kit folder, it has the CLI keep that kit's slices where they still serve, so
// a rebuild after an edit makes, and a returning visitor fetches, only the slices the edit touched.

import { createHash } from 'node:crypto';
import fs from 'node:fs/promises';
import path from 'node:path';
import { webfontArguments } from './cli.js';

const REPORT = '.report.json';

/** The folder of the earlier plan of the kit the options make in the project at root. */
export function planFolder(cacheFolder, root, options) {
  const made = { root, args: webfontArguments({ ...options, jobs: undefined }, 'D') };
  return path.join(cacheFolder, 'plans', createHash('sha256').update(JSON.stringify(made)).digest('hex').slice(0, 16));
}

/** Copies the earlier build's report into the kit's empty folder; no earlier build is no error. */
export async function giveEarlierPlan(plans, kitFolder) {
  const names = await fs.readdir(plans).catch(() => []);
  for (const name of names.filter(name => name.endsWith(REPORT)))
    await fs.copyFile(path.join(plans, name), path.join(kitFolder, name));
}

/** Keeps the new kit's report for the next build, renamed into place whole. */
export async function keepPlan(kitFolder, plans) {
  await fs.mkdir(plans, { recursive: true });
  for (const name of (await fs.readdir(kitFolder)).filter(name => name.endsWith(REPORT))) {
    const temporary = path.join(plans, `.${name}.${process.pid}-${Date.now()}`);
    try {
      await fs.copyFile(path.join(kitFolder, name), temporary);
      await fs.rename(temporary, path.join(plans, name));
    } finally {
      await fs.rm(temporary, { force: true });
    }
  }
}
