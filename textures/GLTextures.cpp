// Texture loader.
