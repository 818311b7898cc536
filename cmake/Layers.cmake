# The layer order of the libraries, bottom up: a folder's code may use only its own folder and
# the folders before it. The Qt-free folders never include a Qt header nor link a Qt target.
# sim/ sits beside the others: the virtual bus and firmware models serve the tests and q407-demo.
set(Q407_LAYERS common hid protocol profiles devices update sim toolkit editors pages app)
set(Q407_QT_FREE_LAYERS common hid protocol profiles devices update sim)
