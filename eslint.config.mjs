// ESLint for every script of the project: the page's own (plain browser
// scripts, joined into one by web/assemble.mjs, so that one defines what the
// next uses), emscripten's library file for the console's input and output,
// and the node scripts of the build, the tests, the benchmark and CI.
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['web/*.js'],
    languageOptions: {
      sourceType: 'script',
      // What one script takes from another is named at its top (global),
      // and what it gives (exported).
      globals: { ...globals.browser },
    },
  },
  {
    // Run by emscripten when it links the page, in the glue's own scope.
    files: ['web/stdio.js'],
    languageOptions: {
      globals: {
        mergeInto: 'readonly',
        LibraryManager: 'readonly',
        Asyncify: 'readonly',
        Module: 'readonly',
        HEAPU8: 'readonly',
        HEAPU32: 'readonly',
      },
    },
  },
  {
    files: ['**/*.mjs'],
    languageOptions: { sourceType: 'module', globals: globals.node },
  },
  {
    // Tests hand these functions to the browser, where they run.
    files: ['tests/*.mjs', 'bench/*.mjs'],
    languageOptions: { globals: { ...globals.node, ...globals.browser } },
  },
  { ignores: ['build/', 'node_modules/'] },
];
