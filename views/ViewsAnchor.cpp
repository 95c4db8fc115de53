// views layer.
