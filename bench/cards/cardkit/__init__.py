"""Drawing of synthetic business cards with their truth, for the recognition benchmark."""
