WDv1.0
half