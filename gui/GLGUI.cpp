// GUI globals.
