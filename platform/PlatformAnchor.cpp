// platform layer.
