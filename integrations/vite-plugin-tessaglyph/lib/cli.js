// Runs the installed tessaglyph-cli (or the one the options name): the plugin makes no kit itself
// and downloads nothing.

import { execFile } from 'node:child_process';

/** The CLI's failure, carrying its own message (its standard error). */
export class CliError extends Error {
  constructor(command, code, stderr) {
    const message = stderr.trim() || `${command} exited with status ${code}`;
    super(message);
    this.name = 'CliError';
    this.exitCode = code;
  }
}

function run(cli, args) {
  return new Promise((resolve, reject) => {
    execFile(cli, args, { maxBuffer: 64 * 1024 * 1024, encoding: 'utf8' }, (error, stdout, stderr) => {
      if (error === null) resolve({ stdout, stderr });
      else if (typeof error.code === 'number') reject(new CliError(cli, error.code, stderr));
      else reject(new CliError(cli, error.code, `${cli}: ${error.message}`)); // not found, not executable
    });
  });
}

/** "tessaglyph-cli 0.2.0": part of every cache key, so a new CLI makes new kits. */
export async function cliVersion(cli) {
  return (await run(cli, ['--version'])).stdout.trim();
}

/** Whether the CLI has an option, from its help (an older CLI lacks --cache). */
export async function cliHasOption(cli, option) {
  const { stdout, stderr } = await run(cli, ['--help']);
  return (stdout + stderr).includes(option);
}

/**
 * The webfont command's arguments for the options: the font, and what the CSS says; text options
 * are the caller's.
 */
export function webfontArguments(options, outputDir) {
  const args = ['webfont', ...(options.font ? ['--font', options.font] : ['--family', options.family]),
    '--output-dir', outputDir];
  if (options.cssFamily) args.push('--css-family', options.cssFamily);
  if (options.fontDisplay) args.push('--font-display', options.fontDisplay);
  if (options.language) args.push('--language', options.language);
  if (options.local) args.push('--local');
  if (options.jobs) args.push('--jobs', String(options.jobs));
  return args;
}

/** "N of M" from what the CLI said it made, when it used its slice cache; else null. */
export function slicesFromCache(said) {
  const line = /^Slices copied from the slice cache: ([\d,]+ of [\d,]+)\.$/m.exec(said);
  return line ? line[1] : null;
}

/** Makes a kit; resolves to the CLI's standard error (what it made), rejects with a CliError. */
export async function makeKit(cli, args) {
  return (await run(cli, args)).stderr;
}
