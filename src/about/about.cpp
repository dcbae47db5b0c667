// The about window lives here.
