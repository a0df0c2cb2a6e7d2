// The card catalogue.
