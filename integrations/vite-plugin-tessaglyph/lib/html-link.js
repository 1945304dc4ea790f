// Links a stylesheet from an HTML page, editing the page's text where parse5 found its <head>, so
// the rest of the page stays byte for byte as the build wrote it.

import path from 'node:path';
import { parse } from 'parse5';

function escapeAttribute(value) {
  return value.replace(/&/g, '&amp;').replace(/"/g, '&quot;');
}

/**
 * The URL by which the page htmlName reaches the file fileName (both relative to the build's
 * output): under the base, or relative to the page when the base is relative ('' or './').
 */
export function urlFrom(htmlName, fileName, base) {
  if (base === '' || base.startsWith('.')) {
    const relative = path.posix.relative(path.posix.dirname(htmlName), fileName);
    return relative.startsWith('.') ? relative : './' + relative;
  }
  return (base.endsWith('/') ? base : base + '/') + fileName;
}

/** The file name of the bundle that a page's URL names, or null for another site's. */
export function fileNameOf(htmlName, url, base) {
  const plain = url.replace(/[?#].*$/, '');
  if (/^[a-z][a-z0-9+.-]*:|^\/\//i.test(plain)) return null;
  if (base === '' || base.startsWith('.') || !plain.startsWith('/'))
    return path.posix.normalize(path.posix.join(path.posix.dirname(htmlName), plain)).replace(/^\//, '');
  const root = base.endsWith('/') ? base : base + '/';
  return plain.startsWith(root) ? plain.slice(root.length) : null;
}

/** The page with <link rel="stylesheet" href="href"> at the end of its head. */
export function withStylesheet(html, href) {
  const tag = `<link rel="stylesheet" href="${escapeAttribute(href)}">`;
  const document = parse(html, { sourceCodeLocationInfo: true });
  const root = document.childNodes.find(node => node.tagName === 'html');
  const head = root?.childNodes.find(node => node.tagName === 'head');
  const body = root?.childNodes.find(node => node.tagName === 'body');
  // A head written out has an end tag (or its first child ends where the head's content does)...
  const headEnd = head?.sourceCodeLocation?.endTag?.startOffset;
  if (headEnd !== undefined) return html.slice(0, headEnd) + tag + html.slice(headEnd);
  const lastInHead = head?.childNodes.at(-1)?.sourceCodeLocation?.endOffset;
  if (lastInHead !== undefined) return html.slice(0, lastInHead) + tag + html.slice(lastInHead);
  // ...else the link goes where the head would be: before the body, or after the doctype.
  const bodyStart = body?.sourceCodeLocation?.startOffset ?? body?.childNodes[0]?.sourceCodeLocation?.startOffset;
  if (bodyStart !== undefined) return html.slice(0, bodyStart) + tag + html.slice(bodyStart);
  const doctypeEnd = document.childNodes.find(node => node.nodeName === '#documentType')?.sourceCodeLocation?.endOffset ?? 0;
  return html.slice(0, doctypeEnd) + tag + html.slice(doctypeEnd);
}
