# Generated inputs of the client fragment: append files the fragment names to
# MARDAVEL_RES_DEPENDS and directories to MARDAVEL_RES_INCLUDES.
