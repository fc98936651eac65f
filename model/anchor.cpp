int WendleCoreAnchor = 0;
