// Report writers library.
