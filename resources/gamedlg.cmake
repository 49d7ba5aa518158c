# Generated inputs of the gamedlg fragment: append files the fragment names to
# MARDAVEL_RES_DEPENDS and directories to MARDAVEL_RES_INCLUDES.
