// The players library.
