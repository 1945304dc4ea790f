// The kit's font-family line, for TypeScript: add "vite-plugin-tessaglyph/virtual" to the
// compilerOptions.types of tsconfig.json. A kit with a `module` of its own declares it alike.
declare module 'virtual:tessaglyph' {
  /** The value of a font-family declaration that draws from the kit: "Site Sans" (and any fallback face it declares). */
  export const fontFamily: string;
  /** The kit's family name, unquoted. */
  export const cssFamily: string;
  export default fontFamily;
}
