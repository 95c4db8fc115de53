// midi layer.
