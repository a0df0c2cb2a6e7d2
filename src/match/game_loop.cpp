// The game loop.
