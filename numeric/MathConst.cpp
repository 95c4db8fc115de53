// Numeric library: translation unit anchoring the library target.
