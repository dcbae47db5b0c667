// The add and edit windows live here.
