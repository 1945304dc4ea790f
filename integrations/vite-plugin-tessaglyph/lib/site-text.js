// The text a reader of the built site sees: the HTML's text and readable attributes, and the
// strings of the JavaScript the pages run. Character references are decoded by parse5, as a
// browser decodes them; JavaScript is read from its syntax tree, never matched by pattern.

import { parse } from 'parse5';

// Attributes a browser draws, or reads out, as text.
const READ_ATTRIBUTES = new Set(['alt', 'title', 'placeholder', 'aria-label', 'aria-description', 'aria-roledescription',
  'aria-valuetext', 'label']);
// An <input>'s value is drawn in the box for these types (and for an input with no type).
const INPUTS_THAT_SHOW_VALUE = new Set(['', 'text', 'search', 'url', 'tel', 'email', 'number', 'button', 'submit', 'reset']);
// Script types whose text is JavaScript.
const JAVASCRIPT_TYPES = new Set(['', 'module', 'text/javascript', 'application/javascript']);
// Elements whose text is not drawn as text.
const NOT_TEXT = new Set(['script', 'style']);

function attribute(node, name) {
  const found = node.attrs?.find(a => a.name === name);
  return found === undefined ? null : found.value;
}

/**
 * Reads one HTML page. Returns { text, scripts, inlineScripts, links }: the text a reader sees,
 * the src of every <script>, the code of every inline JavaScript <script>, and the href of every
 * <link rel="modulepreload">.
 */
export function readHtml(html) {
  // With scripting off, <noscript>'s content is read as elements: it is what a reader without
  // scripts sees.
  const document = parse(html, { scriptingEnabled: false });
  const text = [];
  const scripts = [];
  const inlineScripts = [];
  const links = [];
  const visit = node => {
    const tag = node.tagName;
    if (node.nodeName === '#text') {
      text.push(node.value);
      return;
    }
    if (node.attrs) {
      for (const { name, value } of node.attrs) {
        if (READ_ATTRIBUTES.has(name)) text.push(value);
      }
      if (tag === 'input' && INPUTS_THAT_SHOW_VALUE.has((attribute(node, 'type') ?? '').toLowerCase())) {
        const value = attribute(node, 'value');
        if (value !== null) text.push(value);
      }
    }
    if (tag === 'script') {
      const src = attribute(node, 'src');
      if (src !== null) scripts.push(src);
      else if (JAVASCRIPT_TYPES.has((attribute(node, 'type') ?? '').toLowerCase()))
        inlineScripts.push(node.childNodes.map(child => child.value ?? '').join(''));
    }
    if (tag === 'link' && (attribute(node, 'rel') ?? '').toLowerCase().split(/\s+/).includes('modulepreload')) {
      const href = attribute(node, 'href');
      if (href !== null) links.push(href);
    }
    if (NOT_TEXT.has(tag)) return;
    for (const child of node.childNodes ?? []) visit(child);
    if (node.content) visit(node.content); // a <template>'s fragment
  };
  visit(document);
  return { text: text.join('\n'), scripts, inlineScripts, links };
}

/**
 * The string literals and template-literal parts of a JavaScript program's syntax tree (ESTree,
 * as Rollup's parser gives it), less the module names of imports and exports, directives
 * ('use strict') and the names of object keys, which no reader sees.
 */
export function stringsOf(program) {
  const strings = [];
  const skipped = new Set();
  const visit = node => {
    if (node === null || typeof node !== 'object') return;
    if (Array.isArray(node)) {
      for (const item of node) visit(item);
      return;
    }
    if (typeof node.type !== 'string' || skipped.has(node)) return;
    switch (node.type) {
      case 'Literal':
        if (typeof node.value === 'string') strings.push(node.value);
        return;
      case 'TemplateElement':
        // A tagged template may hold an escape that has no cooked value; its raw text stands in.
        strings.push(node.value.cooked ?? node.value.raw);
        return;
      case 'ImportDeclaration':
      case 'ExportAllDeclaration':
      case 'ExportNamedDeclaration':
      case 'ImportExpression':
        if (node.source) skipped.add(node.source);
        break;
      case 'ExpressionStatement':
        if (node.directive !== undefined) return;
        break;
      case 'Property':
      case 'PropertyDefinition':
      case 'MethodDefinition':
        if (!node.computed) skipped.add(node.key);
        break;
    }
    for (const key in node) {
      if (key !== 'type' && key !== 'start' && key !== 'end' && key !== 'loc' && key !== 'range') visit(node[key]);
    }
  };
  visit(program);
  return strings;
}
