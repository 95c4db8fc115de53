// app layer.
