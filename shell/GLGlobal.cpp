// Shell globals.
