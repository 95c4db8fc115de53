// assessment layer.
