// A kit the CLI wrote into a folder: its stylesheet, the slices the stylesheet names, and the
// font-family line that draws from it.

import { createHash } from 'node:crypto';
import fs from 'node:fs/promises';
import path from 'node:path';

/** The first 8 hex digits of the SHA-256 of bytes: the CLI names its slices by the same hash. */
export function contentHash(bytes) {
  return createHash('sha256').update(bytes).digest('hex').slice(0, 8);
}

/** The url()s of a stylesheet, in order, each once. */
function urlsOf(css) {
  return [...new Set([...css.matchAll(/url\("([^"]+)"\)/g)].map(match => match[1]))];
}

/** The families of a stylesheet's @font-face rules, in order, each once. */
function familiesOf(css) {
  const families = [];
  for (const rule of css.matchAll(/@font-face\s*\{([^}]*)\}/g)) {
    const declared = /font-family\s*:\s*("(?:\\.|[^"\\])*"|'(?:\\.|[^'\\])*'|[^;]+)/.exec(rule[1]);
    if (!declared) continue;
    const value = declared[1].trim();
    const name = /^["']/.test(value) ? value.slice(1, -1).replace(/\\(.)/g, '$1') : value;
    if (!families.includes(name)) families.push(name);
  }
  return families;
}

/** A family name as a CSS string. */
function quoted(name) {
  return `"${name.replace(/["\\]/g, '\\$&')}"`;
}

/**
 * Reads the kit in folder: { cssName, css, slices: [{ name, bytes }], cssFamily, fontFamily }.
 * cssFamily is the family of its first rule; fontFamily is the value of a font-family
 * declaration listing every family the stylesheet declares (a fallback face's too).
 */
export async function readKit(folder) {
  const names = await fs.readdir(folder);
  const cssNames = names.filter(name => name.endsWith('.css'));
  if (cssNames.length !== 1)
    throw new Error(`the kit in ${folder} has ${cssNames.length} stylesheets, not one`);
  const [cssName] = cssNames;
  const css = await fs.readFile(path.join(folder, cssName), 'utf8');
  const slices = [];
  for (const name of urlsOf(css)) {
    if (name.includes('/') || name.includes('\\'))
      throw new Error(`the kit's stylesheet ${cssName} names a file outside its folder: ${name}`);
    slices.push({ name, bytes: await fs.readFile(path.join(folder, name)) });
  }
  const families = familiesOf(css);
  if (families.length === 0) throw new Error(`the kit's stylesheet ${cssName} declares no family`);
  return { cssName, css, slices, cssFamily: families[0], fontFamily: families.map(quoted).join(', ') };
}

/** The stylesheet's file name in a build: a name safe in any URL, and the hash of its bytes. */
export function hashedCssName(kit) {
  const stem = path.basename(kit.cssName, '.css').replace(/[^A-Za-z0-9_-]+/g, '-').replace(/^-+|-+$/g, '') || 'kit';
  return `${stem}.${contentHash(kit.css)}.css`;
}
