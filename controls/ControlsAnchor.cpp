// controls layer.
