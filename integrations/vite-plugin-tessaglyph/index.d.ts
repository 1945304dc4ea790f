import type { Plugin } from 'vite';

export interface TessaglyphOptions {
  /** The font file (.ttf, .otf or .woff2) to cut. Give this or `family`. */
  font?: string;
  /** An installed family, resolved by fontconfig as tessaglyph-cli resolves it; every face of it. */
  family?: string;
  /** The family name in the kit's CSS (default: the font's typographic family). */
  cssFamily?: string;
  /** Characters the kit holds besides the site's text, as a file of their own. */
  text?: string;
  /** Globs, from the project's root, of files whose text counts, each as a file of its own. */
  include?: string | string[];
  /**
   * Globs of files whose text does not count: files of the build's output (a page, "legal.html";
   * a chunk, "assets/vendor-*.js") and files the include globs name.
   */
  exclude?: string | string[];
  /** A kit of every character the font maps, not only the site's. */
  whole?: boolean;
  /** The tessaglyph-cli to run (default: the one on PATH). */
  cli?: string;
  /** The CSS's font-display (the CLI's default: swap). */
  fontDisplay?: 'auto' | 'block' | 'swap' | 'fallback' | 'optional';
  /** The language the pages are in (the CLI's --language). */
  language?: 'zh-Hans' | 'zh-Hant' | 'zh-HK' | 'ja' | 'ko';
  /** local() sources before each slice (an installed copy then draws instead). */
  local?: boolean;
  /** Threads the CLI makes slices with (default: every core). */
  jobs?: number;
  /** The folder, inside the build's output, of the kit's CSS and slices (default: "assets/fonts"). */
  outDir?: string;
  /** The CLI's slice cache: a folder (--cache), or false for none (--no-cache); default: the CLI's. */
  cache?: string | false;
  /** Whether `vite dev` serves the whole font's kit (default: true). */
  dev?: boolean;
  /** The folder of `vite dev`'s kits (default: $XDG_CACHE_HOME/vite-plugin-tessaglyph, else node_modules/.cache/vite-plugin-tessaglyph). */
  devCache?: string;
  /** The virtual module that exports the font-family line (default: "virtual:tessaglyph"); one per kit. */
  module?: string;
}

/** The plugin: a unicode-range WOFF2 kit of the font, linked from every page the build emits. */
export default function tessaglyph(options: TessaglyphOptions): Plugin;
export { tessaglyph };
