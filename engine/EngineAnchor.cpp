// Analysis engine library.
